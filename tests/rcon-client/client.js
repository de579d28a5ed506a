// Talks to an RCON server with the "rcon" package: first a wrong password on its own connection,
// which must be refused, then the right one, "qv.reload" and an unknown command. Prints one line
// per event: "wrong password -> <what happened>", "authenticated", "<command> -> <reply>".
// Every request carries the id 4242, and the library takes only replies under that id as
// responses. Usage: node client.js <port> <password>
'use strict';
const Rcon = require('rcon');

const kRequestId = 4242;
const kTimeoutMs = 5000;

// Resolves with the first of `events` that `client` emits, as [name, value].
function next(client, events) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`no ${events.join('/')} in time`)), kTimeoutMs);
    for (const name of events) {
      client.once(name, (value) => {
        clearTimeout(timer);
        resolve([name, value]);
      });
    }
  });
}

async function connect(port, password) {
  const client = new Rcon('127.0.0.1', port, password, {id: kRequestId});
  const outcome = next(client, ['auth', 'error', 'end']);
  client.connect();
  const [event, value] = await outcome;
  client.removeAllListeners();
  return {client, event, value};
}

async function main() {
  const [port, password] = process.argv.slice(2);

  const intruder = await connect(Number(port), password + '-wrong');
  console.log(`wrong password -> ${intruder.event}${intruder.value ? ': ' + intruder.value.message : ''}`);
  intruder.client.disconnect();

  const {client, event, value} = await connect(Number(port), password);
  if (event !== 'auth') throw new Error(`authentication: ${event} ${value || ''}`);
  console.log('authenticated');
  for (const command of ['qv.reload', 'no.such.command now']) {
    const reply = next(client, ['response', 'error', 'end']);
    client.send(command);
    const [kind, text] = await reply;
    client.removeAllListeners();
    console.log(`${command} -> ${kind === 'response' ? text : kind}`);
  }
  client.disconnect();
}

main().catch((error) => {
  console.error(`rcon client: ${error.stack || error}`);
  process.exit(1);
});
