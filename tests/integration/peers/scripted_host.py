#!/usr/bin/python3
# A host for the login tests, run by a real telnet daemon on a pty instead of
# login(1), or on the far end of a serial pty pair: it asks the prompts of a
# scenario, records what the client typed (and the terminal type the daemon
# put in TERM) in a file, and ends as a host application would (an escape
# sequence) or as a shell would.
#   scripted_host.py SCENARIO RECORD_FILE
# Answers are read byte by byte up to CR or LF, so the same script works on
# a telnet pty (canonical, CR turned into LF) and on a raw serial line (CR).
import os
import sys
import termios
import time
import tty

scenario = sys.argv[1]
record_path = sys.argv[2]


def say(text):
    os.write(1, text.encode("latin-1"))


def read_line():
    """One answer up to CR or LF; None when the line is gone."""
    line = bytearray()
    while True:
        try:
            b = os.read(0, 1)
        except OSError:
            return None
        if not b:
            return None if not line else line.decode("latin-1")
        if b in (b"\r", b"\n"):
            return line.decode("latin-1")
        if b == b"\0":
            continue  # the NUL a telnet client sends after CR
        line += b


def ask(prompt):
    say(prompt)
    line = read_line()
    return "" if line is None else line


def record(key, value):
    with open(record_path, "a") as f:
        f.write("%s=%s\n" % (key, value))


def record_raw_until_hangup():
    # Every byte the client sends from now on, unedited: the pty leaves
    # canonical mode so that CR and 0x04 arrive as they are.
    if os.isatty(0):
        tty.setraw(0, termios.TCSANOW)
    while True:
        try:
            data = os.read(0, 64)
        except OSError:
            break
        if not data:
            break
        record("nudge", data.hex())


record("TERM", os.environ.get("TERM", ""))
if scenario == "silent":
    # Never prompts; reports what the client sends while it waits.
    record_raw_until_hangup()
    sys.exit(0)

say("Debian GNU/Linux 12\r\n\r\n")
if scenario == "password-only":
    record("password", ask("Password: "))
    record_raw_until_hangup()
    sys.exit(0)

record("user", ask("scripted login: "))
record("password", ask("Password: "))
if scenario == "refuse":
    say("\r\nLogin incorrect\r\n")
    record("again", ask("scripted login: "))
    sys.exit(0)
if scenario == "denied":
    say("\r\nAccess to system denied!\r\n")
    ask("scripted login: ")
    sys.exit(0)
if scenario == "connpw":
    record("connection_password", ask("\r\nConnection password: "))
record("terminal_type", ask("\r\nEnter terminal type: "))
if scenario in ("normal", "connpw"):
    # A host application starts its screen protocol, then ends the session.
    say("\x1b" "mpi\r")
    time.sleep(2)
elif scenario == "shell":
    say("$ ")
    while True:
        line = read_line()
        if line is None or line.strip() == "exit":
            break
        record("typed", line)
        say("you typed: %s\r\n$ " % line)
