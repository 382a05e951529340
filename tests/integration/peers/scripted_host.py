#!/usr/bin/python3
# A host for the login tests, run by a real telnet daemon on a pty instead of
# login(1): it asks the prompts of a scenario, records what the client typed
# (and the terminal type the daemon put in TERM) in a file, and ends as a host
# application would (an escape sequence) or as a shell would.
#   scripted_host.py SCENARIO RECORD_FILE
import os
import sys
import time

scenario = sys.argv[1]
record_path = sys.argv[2]
out = sys.stdout


def say(text):
    out.write(text)
    out.flush()


def ask(prompt):
    say(prompt)
    line = sys.stdin.readline()
    return line.rstrip("\r\n")


def record(key, value):
    with open(record_path, "a") as f:
        f.write("%s=%s\n" % (key, value))


record("TERM", os.environ.get("TERM", ""))
if scenario == "silent":
    # Never prompts; reports what the client sends while it waits.
    while True:
        line = sys.stdin.readline()
        if not line:
            break
        record("nudge", repr(line))
    sys.exit(0)

say("Debian GNU/Linux 12\r\n\r\n")
if scenario == "password-only":
    record("password", ask("Password: "))
    time.sleep(30)
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
    # A host application starts its screen protocol.
    say("\x1b" "mpi\r")
    time.sleep(2)
elif scenario == "shell":
    say("$ ")
    while True:
        line = sys.stdin.readline()
        if not line or line.strip() == "exit":
            break
        record("typed", line.rstrip("\r\n"))
        say("you typed: %s\r\n$ " % line.rstrip("\r\n"))
