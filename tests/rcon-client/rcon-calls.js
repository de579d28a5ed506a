// What client.js and send.js share: a connection with npm's "rcon" client and waiting for one of
// its events. Every request carries the id 4242, and the library takes only replies under that id
// as responses.
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

// Connects and authenticates: {client, event, value}, event 'auth' when the password was taken.
async function connect(host, port, password) {
  const client = new Rcon(host, port, password, {id: kRequestId});
  const outcome = next(client, ['auth', 'error', 'end']);
  client.connect();
  const [event, value] = await outcome;
  client.removeAllListeners();
  return {client, event, value};
}

module.exports = {next, connect};
