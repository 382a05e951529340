# The line to one client, as the host application sees it: either a TCP
# connection on which this program plays the telnet server itself, or the
# pty a real telnet daemon gives its login program. Both read bytes with the
# telnet commands already taken out and write text as latin-1 bytes. Its own
# module so the login and the application never care which one they run on.
"""A client connection: our own small telnet server, or a telnet daemon's pty."""

import os
import termios
import tty

IAC, DONT, DO, WONT, WILL, SB, SE = 255, 254, 253, 252, 251, 250, 240
OPT_ECHO, OPT_SGA, OPT_TTYPE = 1, 3, 24
TTYPE_IS, TTYPE_SEND = 0, 1


class TelnetLink:
    """A telnet server's side of a socket, only as much of it as a login and
    a screen application need: we offer to echo and to suppress go-ahead,
    ask for the terminal type, refuse every other option once, strip IAC
    sequences from what the client sends, and turn CR NUL back into CR."""

    def __init__(self, sock):
        self.sock = sock
        self.terminal_type = ""
        self.echo = True  # while the login reads a user name
        self._pending = bytearray()
        self._after_cr = False
        self._skip_lf = False
        # Options we have answered, so that a client repeating itself gets
        # no second answer and the two sides never loop.
        self._answered = set()
        self._send_raw(bytes([IAC, WILL, OPT_ECHO, IAC, WILL, OPT_SGA, IAC, DO, OPT_TTYPE]))

    def _send_raw(self, data):
        try:
            self.sock.sendall(data)
        except OSError:
            pass

    def write(self, text):
        data = text.encode("latin-1", "replace")
        # A data byte 255 must be doubled, or the client takes it for IAC.
        self._send_raw(data.replace(b"\xff", b"\xff\xff"))

    def _recv(self):
        try:
            data = self.sock.recv(4096)
        except OSError:
            return False
        if not data:
            return False
        self._pending += data
        return True

    def _raw_byte(self):
        while not self._pending:
            if not self._recv():
                return None
        b = self._pending[0]
        del self._pending[0]
        return b

    def _answer(self, verb, option):
        if option == OPT_TTYPE and verb == WILL:
            # The client will tell: ask for the name.
            self._send_raw(bytes([IAC, SB, OPT_TTYPE, TTYPE_SEND, IAC, SE]))
            return
        if option in (OPT_ECHO, OPT_SGA) and verb in (DO, DONT):
            return  # answers to our own offers
        key = (verb, option)
        if key in self._answered:
            return
        self._answered.add(key)
        if verb == DO:
            self._send_raw(bytes([IAC, WONT, option]))
        elif verb == WILL:
            self._send_raw(bytes([IAC, DONT, option]))

    def _subnegotiation(self):
        data = bytearray()
        while True:
            b = self._raw_byte()
            if b is None:
                return
            if b == IAC:
                c = self._raw_byte()
                if c == SE or c is None:
                    break
                data.append(c)  # IAC IAC inside is one 255
            else:
                data.append(b)
        if len(data) >= 2 and data[0] == OPT_TTYPE and data[1] == TTYPE_IS:
            self.terminal_type = data[2:].decode("latin-1")

    def read_byte(self):
        """The next data byte as a one-character string, None at the end."""
        while True:
            b = self._raw_byte()
            if b is None:
                return None
            if b == IAC:
                c = self._raw_byte()
                if c is None:
                    return None
                if c == IAC:
                    b = IAC  # a doubled 255 is data
                elif c in (DO, DONT, WILL, WONT):
                    opt = self._raw_byte()
                    if opt is None:
                        return None
                    self._answer(c, opt)
                    continue
                elif c == SB:
                    self._subnegotiation()
                    continue
                else:
                    continue  # NOP, GA, AYT and the like carry no data
            # A telnet client sends a carriage return as CR NUL.
            if self._after_cr and b == 0:
                self._after_cr = False
                continue
            self._after_cr = b == 13
            return chr(b)

    def set_echo(self, on):
        self.echo = on

    def start_application(self):
        """The screen protocol starts: nothing is echoed any more."""
        self.echo = False

    def read_line(self):
        """One answer at a login prompt, up to CR or LF; echoed while echo
        is on, as a terminal line would be. None when the client went."""
        line = []
        while True:
            c = self.read_byte()
            if c is None:
                return None
            if c == "\n" and self._skip_lf:
                self._skip_lf = False  # the LF of a CR LF pair: one line end
                continue
            self._skip_lf = False
            if c in "\r\n":
                if self.echo:
                    self.write("\r\n")
                self._skip_lf = c == "\r"
                return "".join(line)
            if c in "\x08\x7f":
                if line:
                    line.pop()
                    if self.echo:
                        self.write("\b \b")
                continue
            if ord(c) < 32:
                continue
            line.append(c)
            if self.echo:
                self.write(c)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


class PtyLink:
    """Standard input and output are the pty of a telnet daemon (telnetd -E
    runs us instead of login). The line discipline does the login's echo
    and line editing; once the application starts it is put into raw mode,
    so that CR, ^K, ^^ and the rest arrive as the client sent them."""

    def __init__(self, fd_in=0, fd_out=1):
        self.fd_in = fd_in
        self.fd_out = fd_out
        self.terminal_type = os.environ.get("TERM", "")

    def write(self, text):
        data = text.encode("latin-1", "replace")
        while data:
            try:
                n = os.write(self.fd_out, data)
            except OSError:
                return
            data = data[n:]

    def read_byte(self):
        try:
            b = os.read(self.fd_in, 1)
        except OSError:
            return None
        return b.decode("latin-1") if b else None

    def set_echo(self, on):
        if not os.isatty(self.fd_in):
            return
        attrs = termios.tcgetattr(self.fd_in)
        if on:
            attrs[3] |= termios.ECHO
        else:
            attrs[3] &= ~termios.ECHO
        termios.tcsetattr(self.fd_in, termios.TCSANOW, attrs)

    def start_application(self):
        if os.isatty(self.fd_in):
            tty.setraw(self.fd_in, termios.TCSANOW)

    def read_line(self):
        # Canonical mode: the line discipline has made CR into LF already.
        line = []
        while True:
            c = self.read_byte()
            if c is None:
                return None if not line else "".join(line)
            if c in "\r\n":
                return "".join(line)
            if c == "\0":
                continue
            line.append(c)

    def close(self):
        for fd in (self.fd_in, self.fd_out):
            try:
                os.close(fd)
            except OSError:
                pass
