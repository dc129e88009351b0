// A whole session driven by the protocol's reference client library, as editors built on it talk to the
// server: the launcher is started with --stdio and every answer is checked.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import * as rpc from 'vscode-jsonrpc/node.js';
import {
  CompletionRequest, DidChangeTextDocumentNotification, DidOpenTextDocumentNotification, ExitNotification,
  HoverRequest, InitializedNotification, InitializeRequest, LogMessageNotification, ShutdownRequest,
} from 'vscode-languageserver-protocol';

const launcher = process.argv[2];
const server = spawn(launcher, ['--stdio']);
let stderr = '';
server.stderr.on('data', (data) => { stderr += data; });
const exited = new Promise((resolve) => server.on('exit', resolve));

const connection = rpc.createMessageConnection(
  new rpc.StreamMessageReader(server.stdout), new rpc.StreamMessageWriter(server.stdin));
const logs = [];
let logArrived = () => {};
connection.onNotification(LogMessageNotification.type, (params) => { logs.push(params); logArrived(); });
connection.listen();
const nextLog = () => new Promise((resolve) => { logArrived = resolve; });

const uri = 'file:///tmp/My Contract.simf';
const result = await connection.sendRequest(InitializeRequest.type, {
  processId: process.pid, rootUri: null, workspaceFolders: null, clientInfo: { name: 'test client' },
  capabilities: {
    textDocument: { hover: { contentFormat: ['markdown', 'plaintext'] }, completion: { completionItem: { snippetSupport: true } } },
    workspace: { configuration: true, workspaceFolders: true },
  },
});
assert.deepEqual(result, {
  capabilities: { completionProvider: { resolveProvider: false, triggerCharacters: ['.'] }, hoverProvider: true, textDocumentSync: 1 },
  serverInfo: { name: 'Tarnu Language Server', version: '0.1.0' },
});

let arrival = nextLog();
await connection.sendNotification(InitializedNotification.type, {});
await arrival;
arrival = nextLog();
await connection.sendNotification(DidOpenTextDocumentNotification.type, {
  textDocument: { uri, languageId: 'simplicity', version: 1, text: 'fn main() {\n  let x: u256 = jet::add_256(a, b);\n}\n' },
});
await arrival;
assert.deepEqual(logs, [
  { type: 3, message: 'Tarnu Language Server initialized!' },
  { type: 3, message: 'File opened: file:///tmp/My%20Contract.simf' },
]);

const hover = await connection.sendRequest(HoverRequest.type, { textDocument: { uri }, position: { line: 1, character: 22 } });
assert.equal(hover.contents.kind, 'markdown');
assert.ok(hover.contents.value.startsWith('# `jet::add_256(a, b)` - 256-bit Addition\n'));

const items = await connection.sendRequest(CompletionRequest.type, {
  textDocument: { uri }, position: { line: 1, character: 3 }, context: { triggerKind: 2, triggerCharacter: '.' },
});
assert.equal(items.length, 73);
assert.deepEqual(items[0], { detail: 'variable keyword', label: 'const' });
assert.deepEqual(items[72], { detail: 'Return type: unit (void)', label: '-> ()' });

arrival = nextLog();
await connection.sendNotification(DidChangeTextDocumentNotification.type, {
  textDocument: { uri, version: 2 }, contentChanges: [{ text: '// One.\nfn one() -> u8 { 1 }\n' }],
});
await arrival;
const own = await connection.sendRequest(HoverRequest.type, { textDocument: { uri }, position: { line: 1, character: 4 } });
assert.equal(own.contents.value,
  '# `one` - User-Defined Function\n\n## Documentation\nOne.\n\n## Signature\n```simplicity\nfn one() -> u8 { 1 }\n```\n\n');
assert.equal(await connection.sendRequest(HoverRequest.type, { textDocument: { uri }, position: { line: 9, character: 0 } }), null);

assert.equal(await connection.sendRequest(ShutdownRequest.type), null);
await connection.sendNotification(ExitNotification.type);
server.stdin.end();
assert.equal(await exited, 0);
assert.equal(stderr, '');
connection.dispose();
console.log('client session passed');
