#!/usr/bin/env python3
# The demo host: plays a Unix host with one business application, so the
# thin client can be seen working without a real host. It asks "login:" and
# "Password:" as a host's login does, then runs the order desk of
# order_app.py over the screen protocol, and writes every reply the client
# sent into a log file for tests.
#
#   demo_host.py --listen PORT [--port-file FILE] [--log FILE]
#       listens on 127.0.0.1 and speaks telnet itself (port 0: any free port)
#   demo_host.py --pty [--log FILE]
#       runs on the pty of a real telnet daemon instead of login(1):
#       telnetd -h -E "demo_host.py --pty --log FILE"
"""Demo host for the thin client: a login, then a sample order application."""

import argparse
import os
import socket
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from host_link import PtyLink, TelnetLink  # noqa: E402
from order_app import OrderApp  # noqa: E402

DEMO_USER = "demo"
DEMO_PASSWORD = "demo"
HOST_NAME = "demo"


def escaped(raw):
    """Reply bytes as one log line: ESC as \\e, CR as \\r, other control
    bytes as \\xNN, so the log stays one line per reply."""
    out = []
    for ch in raw:
        code = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\x1b":
            out.append("\\e")
        elif ch == "\r":
            out.append("\\r")
        elif code < 32 or code > 126:
            out.append("\\x%02x" % code)
        else:
            out.append(ch)
    return "".join(out)


class SessionLog:
    """The log file: "reply <bytes>" for each reply of the client and
    "event <what happened>" for the host's own steps. Sessions share the
    file, so each line is written whole under a lock and flushed at once:
    a test reads it while the session still runs."""

    _lock = threading.Lock()

    def __init__(self, path, session):
        self.path = path
        self.session = session

    def _line(self, text):
        if not self.path:
            return
        with self._lock, open(self.path, "a", encoding="latin-1") as f:
            f.write(text + "\n")

    def reply(self, raw):
        self._line("reply " + escaped(raw))

    def event(self, text):
        self._line("event " + text)


def log_in(link, log):
    """The login dialogue: "login:" and "Password:" until the demo user
    gives the demo password. Returns the user name, or None when the client
    went away. A refused login waits a moment, as login(1) does, so that the
    client sees the refusal before the next prompt."""
    link.write("\r\nDemo host (a sample business application)\r\n\r\n")
    while True:
        link.set_echo(True)
        link.write("%s login: " % HOST_NAME)
        user = link.read_line()
        if user is None:
            return None
        link.set_echo(False)
        link.write("Password: ")
        password = link.read_line()
        if password is None:
            return None
        link.write("\r\n")
        if user == DEMO_USER and password == DEMO_PASSWORD:
            log.event("login " + user)
            return user
        log.event("login refused " + user)
        time.sleep(1)
        link.write("Login incorrect\r\n")


def serve_session(link, log):
    try:
        user = log_in(link, log)
        if user is None:
            log.event("gone before login")
            return
        link.write("Welcome, %s. Starting the order desk...\r\n" % user)
        link.start_application()
        OrderApp(link, log, user).run()
        link.write("\r\nGoodbye.\r\n")
    except ConnectionError:
        log.event("client gone")
    finally:
        link.close()


def listen(port, port_file, log_path):
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(5)
    port = server.getsockname()[1]
    if port_file:
        # Written only now that we listen, and whole at once, so whoever
        # waits for it can connect as soon as it is there.
        tmp = port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, port_file)
    print("demo host listening on 127.0.0.1:%d (user %s, password %s)"
          % (port, DEMO_USER, DEMO_PASSWORD), flush=True)
    session = 0
    while True:
        conn, _ = server.accept()
        session += 1
        link = TelnetLink(conn)
        log = SessionLog(log_path, session)
        threading.Thread(target=serve_session, args=(link, log), daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--listen", type=int, metavar="PORT",
                      help="listen on 127.0.0.1:PORT and speak telnet (0: any free port)")
    mode.add_argument("--pty", action="store_true",
                      help="run on a telnet daemon's pty (standard input and output)")
    parser.add_argument("--port-file", help="write the port listened on into this file")
    parser.add_argument("--log", help="append every reply of the client to this file")
    args = parser.parse_args()
    if args.pty:
        serve_session(PtyLink(), SessionLog(args.log, 1))
        return 0
    try:
        listen(args.listen, args.port_file, args.log)
    except KeyboardInterrupt:
        pass
    except OSError as e:
        print("demo host: cannot listen on 127.0.0.1:%d: %s" % (args.listen, e.strerror),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
