#!/usr/bin/python3
# A modem on a pty for the dial-out tests: owns the pty (so it can read the
# line settings the client made), links the slave's name to LINK, records
# every command line with the speed the client set, and answers AT commands
# as a Hayes modem would. A pty has no carrier line, so "CONNECT" is all the
# modem can say; the client, which reads the carrier, never sees one.
#   fake_modem.py LINK RECORD_FILE
import os
import sys
import termios
import time

link, record_path = sys.argv[1:3]
master, slave = os.openpty()
tmp = link + ".tmp"
os.symlink(os.ttyname(slave), tmp)
os.rename(tmp, link)

SPEEDS = {getattr(termios, "B%d" % b): b for b in
          (1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400)}


def record(key, value):
    with open(record_path, "a") as f:
        f.write("%s=%s\n" % (key, value))


line = bytearray()
while True:
    try:
        data = os.read(master, 256)
    except OSError:  # the client closed the slave: wait for the next open
        time.sleep(0.05)
        continue
    for b in data:
        if b != 0x0D:
            line.append(b)
            continue
        command = line.decode("latin-1")
        line.clear()
        speed = termios.tcgetattr(master)[4]
        record("command", command)
        record("speed", SPEEDS.get(speed, speed))
        upper = command.upper()
        if upper.startswith("ATD"):
            reply = "\r\nCONNECT 9600\r\n"
        elif upper.startswith("AT"):
            reply = "\r\nOK\r\n"
        else:
            continue
        os.write(master, reply.encode("latin-1"))
