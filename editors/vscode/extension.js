// Starts the Tarnu launcher for Simplicity files; the client adds --stdio itself for the stdio transport.
const vscode = require("vscode");
const { LanguageClient, TransportKind } = require("vscode-languageclient/node");

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration("tarnu").get("serverPath", "tarnu-lsp");
  client = new LanguageClient(
    "tarnu",
    "Tarnu",
    { command, transport: TransportKind.stdio },
    { documentSelector: [{ language: "simplicity" }] },
  );
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
