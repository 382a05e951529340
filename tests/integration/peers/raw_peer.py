#!/usr/bin/python3
# A scripted TCP host for byte-exact tests: it plays a script of raw bytes
# (telnet sequences, urgent data, abrupt closes) to the one client that
# connects, and records every byte the client sends, so a test can compare
# the wire in both directions. Binds a free loopback port itself and writes
# it to PORT_FILE, so parallel tests never race for a port.
#   raw_peer.py SCRIPT_FILE PORT_FILE RECORD_FILE
# Script lines (hex without spaces; '#' starts a comment):
#   send HEX          bytes to the client
#   urgent HEX        bytes in one segment, the last one TCP urgent data
#   expect HEX [S]    wait (at most S seconds, default 10) until the client
#                     sent HEX since the last expect
#   pause S           sleep S seconds
#   sendfile PATH     the whole file, as fast as the client takes it
#   close             close the connection at once
#   drain             half-close and read until the client closes
# The peer writes "done" or "failed: why" to RECORD_FILE.status at the end.
import os
import socket
import sys
import threading
import time

script_path, port_path, record_path = sys.argv[1:4]
status_path = record_path + ".status"
received = bytearray()
lock = threading.Condition()
client_closed = False


def set_status(text):
    tmp = status_path + ".tmp"
    with open(tmp, "w") as f:
        f.write(text)
    os.rename(tmp, status_path)


def reader(conn):
    global client_closed
    with open(record_path, "ab", buffering=0) as record:
        while True:
            try:
                data = conn.recv(65536)
            except OSError:
                data = b""
            if not data:
                break
            record.write(data)
            with lock:
                received.extend(data)
                lock.notify_all()
    with lock:
        client_closed = True
        lock.notify_all()


listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.bind(("127.0.0.1", 0))
listener.listen(1)
tmp = port_path + ".tmp"
with open(tmp, "w") as f:
    f.write(str(listener.getsockname()[1]))
os.rename(tmp, port_path)
listener.settimeout(60)
conn, _ = listener.accept()
listener.close()
conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
threading.Thread(target=reader, args=(conn,), daemon=True).start()

mark = 0
try:
    for raw in open(script_path):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        verb, _, arg = line.partition(" ")
        if verb == "send":
            conn.sendall(bytes.fromhex(arg))
        elif verb == "urgent":
            # One segment whose urgent pointer marks its last byte.
            conn.send(bytes.fromhex(arg), socket.MSG_OOB)
        elif verb == "expect":
            parts = arg.split()
            wanted = bytes.fromhex(parts[0])
            limit = time.monotonic() + (float(parts[1]) if len(parts) > 1 else 10.0)
            with lock:
                while True:
                    at = received.find(wanted, mark)
                    if at >= 0:
                        mark = at + len(wanted)
                        break
                    left = limit - time.monotonic()
                    if left <= 0 or client_closed:
                        raise RuntimeError("expected %s, got %s" % (parts[0], bytes(received[mark:]).hex()))
                    lock.wait(left)
        elif verb == "pause":
            time.sleep(float(arg))
        elif verb == "sendfile":
            with open(arg, "rb") as f:
                while True:
                    chunk = f.read(1 << 16)
                    if not chunk:
                        break
                    conn.sendall(chunk)
        elif verb == "close":
            # A plain close would wait for the reader thread's recv and send
            # no FIN; shutdown ends the connection at once.
            conn.shutdown(socket.SHUT_RDWR)
            conn.close()
            break
        elif verb == "drain":
            conn.shutdown(socket.SHUT_WR)
            with lock:
                limit = time.monotonic() + 30
                while not client_closed and time.monotonic() < limit:
                    lock.wait(limit - time.monotonic())
        else:
            raise RuntimeError("unknown script line: " + line)
    set_status("done")
except Exception as e:  # the test reads the reason
    set_status("failed: %s" % e)
    sys.exit(1)
# Keep the connection open until the test stops the peer (unless closed).
while True:
    time.sleep(1)
