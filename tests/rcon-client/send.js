// Sends one command to an RCON server and prints its reply: a command line for qv.reload.
// Usage: node send.js <host> <port> <password> <command...>
// Exits 1, saying why, when the password is refused or no reply comes in time.
'use strict';
const {next, connect} = require('./rcon-calls');

async function main() {
  const [host, port, password, ...words] = process.argv.slice(2);
  if (words.length === 0) throw new Error('usage: node send.js <host> <port> <password> <command...>');
  const {client, event, value} = await connect(host, Number(port), password);
  if (event !== 'auth') throw new Error(`not authenticated: ${value ? value.message : event}`);
  const reply = next(client, ['response', 'error', 'end']);
  client.send(words.join(' '));
  const [kind, text] = await reply;
  client.disconnect();
  if (kind !== 'response') throw new Error(`no reply: ${kind}`);
  console.log(text);
}

main().catch((error) => {
  console.error(`rcon: ${error.message}`);
  process.exit(1);
});
