"""What an initialised server answers to each kind of message: the method table, unknown methods,
request identifiers, cancellation and responses sent by the editor."""

import unittest

import transcript
from transcript import HANDSHAKE

URI = "file:///tmp/dispatch.simf"
POSITION = f'{{"textDocument":{{"uri":"{URI}"}},"position":{{"line":0,"character":0}}}}'
HOVER = f'"method":"textDocument/hover","params":{POSITION}'
NULL_HOVER = '{"jsonrpc":"2.0","result":null,"id":%s}'
INVALID_REQUEST = '{"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid request"},"id":%s}'
METHOD_NOT_FOUND = '{"jsonrpc":"2.0","error":{"code":-32601,"message":"Method not found"},"id":%s}'
DID_OPEN_PARAMS = (f'{{"textDocument":{{"uri":"{URI}","languageId":"simplicity","version":1,'
                   f'"text":"fn main() {{}}\\n"}}}}')


class MethodTableTest(unittest.TestCase):
    ROWS = {
        "unknown requests and notifications": f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"custom/thing","params":[1]}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32601,"message":"Method not found","data":"custom/thing"}},"id":2}}
            # "$/" requests get no reply at all, unknown notifications are dropped
            -> {{"jsonrpc":"2.0","id":3,"method":"$/custom","params":{{}}}}
            -> {{"jsonrpc":"2.0","method":"custom/notification","params":{{}}}}
            -> {{"jsonrpc":"2.0","method":"$/setTrace","params":{{"value":"verbose"}}}}
            -> {{"jsonrpc":"2.0","id":4,{HOVER}}}
            <- {NULL_HOVER % 4}
            # an absent method is the empty name, which is unknown too
            -> {{"jsonrpc":"2.0","id":5}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32601,"message":"Method not found","data":""}},"id":5}}
        """,
        "methods of the protocol that the server does not implement": f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"textDocument/definition","params":{POSITION}}}
            <- {METHOD_NOT_FOUND % 2}
            -> {{"jsonrpc":"2.0","id":3,"method":"textDocument/definition"}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32602,"message":"Missing params field"}},"id":3}}
            -> {{"jsonrpc":"2.0","id":4,"method":"completionItem/resolve","params":{{"label":"fn"}}}}
            <- {METHOD_NOT_FOUND % 4}
            -> {{"jsonrpc":"2.0","method":"textDocument/didClose","params":{{"textDocument":{{"uri":"{URI}"}}}}}}
            -> {{"jsonrpc":"2.0","method":"workspace/didChangeConfiguration","params":{{"settings":{{}}}}}}
            -> {{"jsonrpc":"2.0","id":5,{HOVER}}}
            <- {NULL_HOVER % 5}
        """,
        "a notification sent with an id is refused and has no effect": f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"textDocument/didOpen","params":{DID_OPEN_PARAMS}}}
            <- {INVALID_REQUEST % 2}
            # the document was not stored: a stored one would answer with a page
            -> {{"jsonrpc":"2.0","id":3,{HOVER}}}
            <- {NULL_HOVER % 3}
        """,
        "a request sent without an id is dropped": f"""
            -> {{"jsonrpc":"2.0",{HOVER}}}
            -> {{"jsonrpc":"2.0","id":2,{HOVER}}}
            <- {NULL_HOVER % 2}
        """,
        "responses from the editor are ignored": f"""
            -> {{"jsonrpc":"2.0","id":7,"result":{{"applied":true}}}}
            -> {{"jsonrpc":"2.0","id":8,"error":{{"code":-32601,"message":"nope"}}}}
            -> {{"jsonrpc":"2.0","id":2,{HOVER}}}
            <- {NULL_HOVER % 2}
        """,
        "cancelling what is not pending has no effect": f"""
            -> {{"jsonrpc":"2.0","method":"$/cancelRequest","params":{{"id":99}}}}
            -> {{"jsonrpc":"2.0","method":"$/cancelRequest","params":{{"id":"99"}}}}
            -> {{"jsonrpc":"2.0","id":2,{HOVER}}}
            <- {NULL_HOVER % 2}
            -> {{"jsonrpc":"2.0","method":"$/cancelRequest","params":{{"id":2}}}}
            -> {{"jsonrpc":"2.0","id":3,"method":"$/cancelRequest","params":{{"id":2}}}}
            <- {INVALID_REQUEST % 3}
        """,
    }

    def test_rows(self):
        for name, text in self.ROWS.items():
            with self.subTest(name):
                transcript.run(self, HANDSHAKE + text)

    def test_cancel_request_is_honoured_before_initialize(self):
        transcript.run(self, f"""
            -> {{"jsonrpc":"2.0","method":"$/cancelRequest","params":{{"id":1}}}}
            -> {{"jsonrpc":"2.0","id":3,"method":"$/cancelRequest","params":{{"id":1}}}}
            <- {INVALID_REQUEST % 3}
        """ + HANDSHAKE)


class RequestIdTest(unittest.TestCase):
    def test_identifiers_come_back_unchanged(self):
        # The null identifier is an identifier too; strings are written back with JSON escapes.
        transcript.run(self, HANDSHAKE + f"""
            -> {{"jsonrpc":"2.0","id":9223372036854775807,{HOVER}}}
            <- {NULL_HOVER % 9223372036854775807}
            -> {{"jsonrpc":"2.0","id":-9223372036854775808,{HOVER}}}
            <- {NULL_HOVER % -9223372036854775808}
            -> {{"jsonrpc":"2.0","id":null,{HOVER}}}
            <- {NULL_HOVER % "null"}
            -> {{"jsonrpc":"2.0","id":"a/b\\u000a\\u0001\\"é",{HOVER}}}
            <- {NULL_HOVER % '"a/b\\n\\u0001\\"é"'}
        """)

    def test_duplicate_id_while_pending_refuses_only_the_later_request(self):
        transcript.run(self, HANDSHAKE + f"""
            # both arrive in one read, so the first is still pending when the second is dispatched
            -> {{"jsonrpc":"2.0","id":7,{HOVER}}}
            -> {{"jsonrpc":"2.0","id":7,{HOVER}}}
            <- {NULL_HOVER % 7}
            <- {INVALID_REQUEST % 7}
            # once answered, the identifier is free again
            -> {{"jsonrpc":"2.0","id":7,{HOVER}}}
            <- {NULL_HOVER % 7}
            # the number 8 and the string "8" are different identifiers
            -> {{"jsonrpc":"2.0","id":8,{HOVER}}}
            -> {{"jsonrpc":"2.0","id":"8",{HOVER}}}
            <- {NULL_HOVER % 8}
            <- {NULL_HOVER % '"8"'}
        """)


if __name__ == "__main__":
    unittest.main()
