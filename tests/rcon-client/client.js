// Talks to an RCON server with the "rcon" package: first a wrong password on its own connection,
// which must be refused, then the right one, "qv.reload" and an unknown command. Prints one line
// per event: "wrong password -> <what happened>", "authenticated", "<command> -> <reply>".
// Usage: node client.js <port> <password>
'use strict';
const {next, connect} = require('./rcon-calls');

async function main() {
  const [port, password] = process.argv.slice(2);

  const intruder = await connect('127.0.0.1', Number(port), password + '-wrong');
  console.log(`wrong password -> ${intruder.event}${intruder.value ? ': ' + intruder.value.message : ''}`);
  intruder.client.disconnect();

  const {client, event, value} = await connect('127.0.0.1', Number(port), password);
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
