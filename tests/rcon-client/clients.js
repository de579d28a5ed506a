// Runs one of the npm RCON clients operators use against a server: a wrong password on a
// connection of its own, then the right one, "qv.reload" and an unknown command. Prints one line
// per step, the same for every client when the server serves it:
//   wrong password -> refused
//   right password -> accepted
//   qv.reload -> QuestVeto: Reloaded config
//   no.such.command now -> Unknown command: no.such.command
// A step the client does not finish within five seconds prints "timed out".
// Usage: node clients.js <rcon|rcon-srcds|rcon-client> <port> <password>
'use strict';

const kHost = '127.0.0.1';
const kTimeoutMs = 5000;

// Resolves with what `promise` resolves with, or rejects with "timed out" after kTimeoutMs.
function inTime(promise) {
  let timer;
  const late = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error('timed out')), kTimeoutMs);
  });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// Each client behind the same three calls: login(password) resolves with the client once the
// password is taken and rejects otherwise; send(command) resolves with the reply; close().

// npm "rcon" 1.x: events on one object.
function nodeRcon(port) {
  const Rcon = require('rcon');
  const next = (client, events) => new Promise((resolve, reject) => {
    for (const name of events) {
      client.once(name, (value) => {
        for (const other of events) client.removeAllListeners(other);
        if (name === 'auth' || name === 'response') resolve(value);
        else reject(value instanceof Error ? value : new Error(`connection ${name}`));
      });
    }
  });
  return {
    async login(password) {
      const client = new Rcon(kHost, port, password, {id: 4242});
      const outcome = next(client, ['auth', 'error', 'end']);
      client.connect();
      try {
        await inTime(outcome);
      } catch (error) {
        client.disconnect();
        throw error;
      }
      return {
        send(command) {
          const reply = next(client, ['response', 'error', 'end']);
          client.send(command);
          return reply;
        },
        close() { client.disconnect(); },
      };
    },
  };
}

// npm "rcon-srcds" 2.x: promises.
function rconSrcds(port) {
  const Rcon = require('rcon-srcds').default;
  return {
    async login(password) {
      const client = new Rcon({host: kHost, port});
      try {
        await inTime(client.authenticate(password));
      } catch (error) {
        if (client.isConnected()) client.disconnect();
        throw error;
      }
      return {
        send: (command) => client.execute(command),
        close() { client.disconnect(); },
      };
    },
  };
}

// npm "rcon-client" 4.x: promises.
function rconClient(port) {
  const {Rcon} = require('rcon-client');
  return {
    async login(password) {
      const client = new Rcon({host: kHost, port, password, timeout: kTimeoutMs});
      await inTime(client.connect());
      return {
        send: (command) => client.send(command),
        close() { client.end(); },
      };
    },
  };
}

const kClients = {'rcon': nodeRcon, 'rcon-srcds': rconSrcds, 'rcon-client': rconClient};

async function main() {
  const [name, port, password] = process.argv.slice(2);
  if (!kClients[name]) throw new Error(`usage: node clients.js <${Object.keys(kClients).join('|')}> <port> <password>`);
  const client = kClients[name](Number(port));

  try {
    const intruder = await client.login(password + '-wrong');
    console.log('wrong password -> accepted');
    intruder.close();
  } catch (error) {
    console.log(`wrong password -> ${error.message === 'timed out' ? 'timed out' : 'refused'}`);
  }

  let session;
  try {
    session = await client.login(password);
    console.log('right password -> accepted');
  } catch (error) {
    console.log(`right password -> ${error.message}`);
    return;
  }
  for (const command of ['qv.reload', 'no.such.command now']) {
    try {
      console.log(`${command} -> ${await inTime(session.send(command))}`);
    } catch (error) {
      console.log(`${command} -> ${error.message}`);
    }
  }
  session.close();
}

main().then(() => process.exit(0), (error) => {
  console.error(`clients.js: ${error.stack || error}`);
  process.exit(1);
});
