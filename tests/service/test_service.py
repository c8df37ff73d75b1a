#!/usr/bin/env python3
"""Local stand-in for the statistics, feedback and configuration services.

Records every request (method, path, query, form fields, headers, body) in a journal, one JSON object per
line, and answers with replies that a test chooses through the control paths below "/__control/":

  POST /__control/replies  {"<path>": REPLY or [REPLY, ...], ...}  sets the replies of these paths;
                           a list is answered in order, its last reply repeated. "*" is every other path.
  POST /__control/reset    forgets the journal and every reply.
  GET  /__control/journal  the journal as a JSON array.

REPLY: {"status": 200, "body": "text", "delay_ms": 0, "no_answer": false}. "--replies FILE" sets replies
in the same form at start. A reply with "no_answer" keeps
the connection open without answering until the client gives up.
"""
import argparse
import json
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qsl, urlsplit

DEFAULT_REPLY = {"status": 200, "body": "{\"errno\":0,\"msg\":\"\"}"}
NO_ANSWER_LIMIT_S = 60


class ServiceState:
    def __init__(self, journal_path):
        self.lock = threading.Lock()
        self.journal_path = journal_path
        self.records = []
        self.replies = {}

    def record(self, entry):
        with self.lock:
            entry["seq"] = len(self.records)
            self.records.append(entry)
            if self.journal_path:
                with open(self.journal_path, "a", encoding="utf-8") as journal:
                    journal.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def next_reply(self, path):
        with self.lock:
            queue = self.replies.get(path, self.replies.get("*"))
            if queue is None:
                return DEFAULT_REPLY
            return queue.pop(0) if len(queue) > 1 else queue[0]

    def set_replies(self, replies):
        with self.lock:
            for path, reply in replies.items():
                self.replies[path] = list(reply) if isinstance(reply, list) else [reply]

    def reset(self):
        with self.lock:
            self.records = []
            self.replies = {}

    def journal(self):
        with self.lock:
            return list(self.records)


def decode_form(raw):
    return [[name, value] for name, value in parse_qsl(raw, keep_blank_values=True, encoding="utf-8",
                                                        errors="replace")]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        self.handle_any()

    def do_POST(self):
        self.handle_any()

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def answer(self, status, body, content_type="application/json; charset=utf-8"):
        data = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def handle_any(self):
        state = self.server.state
        parts = urlsplit(self.path)
        body = self.read_body()
        if parts.path.startswith("/__control/"):
            self.handle_control(state, parts.path, body)
            return
        raw_body = body.decode("latin-1")
        state.record({
            "time": time.time(),
            "method": self.command,
            "path": parts.path,
            "query": parts.query,
            "query_fields": decode_form(parts.query),
            "body": raw_body,
            "form": decode_form(raw_body),
            "headers": {name.lower(): value for name, value in self.headers.items()},
        })
        reply = state.next_reply(parts.path)
        if reply.get("no_answer"):
            time.sleep(NO_ANSWER_LIMIT_S)
            self.close_connection = True
            return
        time.sleep(reply.get("delay_ms", 0) / 1000.0)
        self.answer(reply.get("status", 200), reply.get("body", ""))

    def handle_control(self, state, path, body):
        if path == "/__control/replies":
            state.set_replies(json.loads(body.decode("utf-8") or "{}"))
            self.answer(200, "{}")
        elif path == "/__control/reset":
            state.reset()
            self.answer(200, "{}")
        elif path == "/__control/journal":
            self.answer(200, json.dumps(state.journal(), ensure_ascii=False))
        else:
            self.answer(404, "{}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=18080)
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--journal", default="")
    parser.add_argument("--replies", default="", help="JSON file of replies to start with")
    args = parser.parse_args()
    server = ThreadingHTTPServer((args.bind, args.port), Handler)
    server.daemon_threads = True
    server.state = ServiceState(args.journal)
    if args.replies:
        with open(args.replies, encoding="utf-8") as replies:
            server.state.set_replies(json.load(replies))
    print("test service on %s:%d" % (args.bind, args.port), file=sys.stderr, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
