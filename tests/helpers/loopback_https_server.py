#!/usr/bin/python3
"""An HTTP/2 server over TLS on 127.0.0.1 for the tests (LoopbackHttpsServer
starts and stops it); it needs Debian's python3-h2.

    loopback_https_server.py CERTIFICATE KEY

It listens on a free port, offers only "h2" through ALPN, and writes
{"port": N} as its first line of output once it takes connections. Then it
reads one command per line of input, each a JSON object, and answers each
with one line:

    {"serve": PATH, "status": 200, "headers": [[NAME, VALUE], ...],
     "body": BASE64, "declareLength": true, "resetAfter": -1,
     "refuseWithoutUserAgent": false}     -> {"served": PATH}
    {"seen": PATH}                         -> {"requests": [[[NAME, VALUE], ...], ...]}

PATH has no leading "/". A path not served gets 404. "headers" are sent as
given, after ":status"; "declareLength" adds a content-length header for the
whole body; "resetAfter" >= 0 resets the stream (RST_STREAM) after that many
body bytes. "seen" gives every header of every request for the path so far,
in arrival order. The server ends when its input closes.
"""

import base64
import json
import socket
import ssl
import sys
import threading

import h2.config
import h2.connection
import h2.errors
import h2.events
import h2.exceptions

lock = threading.Lock()
answers = {}
requests = {}


class Stream:
    """The rest of one answer's body, sent as the flow-control window allows."""

    def __init__(self, body, limit, reset):
        self.body = body
        self.limit = limit
        self.reset = reset
        self.sent = 0


def text(value):
    return value.decode("latin-1") if isinstance(value, bytes) else value


def answer_for(path, headers):
    with lock:
        requests.setdefault(path, []).append(headers)
        answer = answers.get(path)

    if answer is None:
        return 404, [], b"", True, -1

    user_agent = next((value for name, value in headers if name.lower() == "user-agent"), "")

    if answer.get("refuseWithoutUserAgent", False) and not user_agent.strip():
        return 403, [], b"no user agent\n", True, -1

    return (answer.get("status", 200), answer.get("headers", []),
            base64.b64decode(answer.get("body", "")),
            answer.get("declareLength", True), answer.get("resetAfter", -1))


def start_answer(connection, event):
    headers = [(text(name), text(value)) for name, value in event.headers]
    path = dict(headers).get(":path", "/")[1:]
    status, extra, body, declare_length, reset_after = answer_for(path, headers)

    head = [(":status", str(status))] + [(name, value) for name, value in extra]

    if declare_length:
        head.append(("content-length", str(len(body))))

    connection.send_headers(event.stream_id, head)
    limit = len(body) if reset_after < 0 else min(reset_after, len(body))
    return Stream(body, limit, reset_after >= 0)


def push(connection, streams):
    """Sends what the windows allow of every open answer; ends or resets those sent."""
    for stream_id, stream in list(streams.items()):
        while stream.sent < stream.limit:
            room = min(connection.local_flow_control_window(stream_id),
                       connection.max_outbound_frame_size, stream.limit - stream.sent)
            if room <= 0:
                break
            connection.send_data(stream_id, stream.body[stream.sent:stream.sent + room])
            stream.sent += room

        if stream.sent == stream.limit:
            if stream.reset:
                connection.reset_stream(stream_id, h2.errors.ErrorCodes.INTERNAL_ERROR)
            else:
                connection.end_stream(stream_id)
            del streams[stream_id]


def serve_connection(context, raw):
    config = h2.config.H2Configuration(client_side=False, header_encoding=None,
                                       validate_outbound_headers=False,
                                       normalize_outbound_headers=False)
    streams = {}

    # A client that refuses the certificate, or goes away, ends its connection only.
    try:
        with context.wrap_socket(raw, server_side=True) as tls:
            if tls.selected_alpn_protocol() != "h2":
                return

            connection = h2.connection.H2Connection(config=config)
            connection.initiate_connection()
            tls.sendall(connection.data_to_send())

            while True:
                data = tls.recv(65536)
                if not data:
                    return

                for event in connection.receive_data(data):
                    if isinstance(event, h2.events.RequestReceived):
                        streams[event.stream_id] = start_answer(connection, event)
                    elif isinstance(event, h2.events.DataReceived):
                        connection.acknowledge_received_data(event.flow_controlled_length, event.stream_id)
                    elif isinstance(event, h2.events.StreamReset):
                        streams.pop(event.stream_id, None)
                    elif isinstance(event, h2.events.ConnectionTerminated):
                        return

                push(connection, streams)
                tls.sendall(connection.data_to_send())
    except (OSError, ssl.SSLError, h2.exceptions.ProtocolError):
        pass
    finally:
        raw.close()


def accept_connections(context, listener):
    while True:
        raw, _ = listener.accept()
        threading.Thread(target=serve_connection, args=(context, raw), daemon=True).start()


def run_command(command):
    if "serve" in command:
        with lock:
            answers[command["serve"]] = command
        return {"served": command["serve"]}

    with lock:
        return {"requests": [[list(header) for header in headers]
                             for headers in requests.get(command["seen"], [])]}


def main():
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(sys.argv[1], sys.argv[2])
    context.set_alpn_protocols(["h2"])

    listener = socket.create_server(("127.0.0.1", 0))
    threading.Thread(target=accept_connections, args=(context, listener), daemon=True).start()
    print(json.dumps({"port": listener.getsockname()[1]}), flush=True)

    for line in sys.stdin:
        print(json.dumps(run_command(json.loads(line))), flush=True)


if __name__ == "__main__":
    main()
