# The host's side of the screen protocol: the commands a host application
# writes (escape sequences with suffixed numbers and an optional string) and
# the replies the client sends back (field results, events, keys, answers),
# read one at a time. Its own module so the sample application reads as a
# conversation and not as byte fiddling.
"""Building screen-protocol commands and reading the client's replies."""

ESC = "\x1b"
CR = "\r"

# Window flags (the bits this demo uses).
WINDOW_FINISH_ALLOWED = 0x2000   # F4/End reach the host as a finish (ESC F)
WINDOW_EDITED_ON_LEAVE = 0x40000  # Shift+Tab and clicks still return the text
WINDOW_HOST_SCROLLING = 0x100    # scroll bars and wheel send ESC nt requests

# Field types.
EDIT, PROMPT, BUTTON, GROUP, AREA, RADIO, CHECK = 1, 2, 3, 4, 5, 12, 13

# Field flags.
RIGHT_ALIGNED = 0x20000
BOLD = 0x80
DEFAULT_BUTTON = 0x1000
CENTRED = 0x4000  # a push button's caption in the middle, not at the left
CHECKED = 0x800
ROW_FIELD = 0x2000

# Exit reasons of a field input.
REASON_FINISH = 1
REASON_OK_BUTTON = 2
REASON_DOWN = 4
REASON_UP = 8
REASON_OTHER_FIELD = 64
REASON_BUTTON = 128
REASON_BACK_TAB = 256


def command(name, text=None, **numbers):
    """ESC m<name>, the numbers with their suffix letters, `;text`, CR.

    command("mcw", "Orders", I=10, W=40, H=12) -> ESC mcw10I40W12H;Orders CR.
    A text with a CR or a byte the string form cannot carry would end the
    command early, so such texts are refused here rather than sent broken.
    """
    out = [ESC, name]
    for letter, value in numbers.items():
        if value is None:
            continue
        if isinstance(value, float) and not value.is_integer():
            out.append("%g%s" % (value, letter))
        else:
            out.append("%d%s" % (int(value), letter))
    if text is not None:
        if "\r" in text:
            raise ValueError("a command string cannot hold a carriage return")
        out.append(";" + text)
    out.append(CR)
    return "".join(out)


def message(text):
    """A plain message box (ESC vA with the default answer Y): OK only."""
    return ESC + "vAY;" + text + CR


def confirmation(text, default="Y", cancel=True):
    """A Yes/No(/Cancel) question (ESC vC); the answer is read with
    Replies.confirmation()."""
    return ESC + "vC" + (default or "") + ("B" if cancel else "") + ";" + text + CR


class Reply:
    """One reply of the client.

    kind is one of:
      "input"   ESC nd I P [reason S [target F]] ; text   (end of a field input)
      "value"   ESC nd I ; text                           (ESC mvf)
      "result"  ESC nr [number S] [; text]                (ESC mir, queries)
      "button"  ESC nb I X Y, or ESC nmu X Y without a target
      "click"   ESC nmp / nmd / nmr / nmR [I] X Y         (mouse on a field or area)
      "scroll"  ESC nt I S                                (host-scrolling requests)
      "notice"  the other ESC n forms (ESC nk1S..P window close, nk2S keep-alive, nv...)
      "key"     a key of the character terminal: "enter", "cancel", "up",
                "down", "left", "right", "back_tab", "finish", "page_up",
                "page_down", "F1".., or "char" with the typed character
    """

    def __init__(self, kind, raw, **values):
        self.kind = kind
        self.raw = raw
        self.name = values.get("name", "")
        self.numbers = values.get("numbers", {})
        self.text = values.get("text")

    def number(self, letter, default=0):
        return self.numbers.get(letter, default)

    def __repr__(self):
        return "Reply(%s %r)" % (self.kind, self.raw)


# Keys sent as single bytes or ESC + one letter.
_SINGLE_KEYS = {
    "\r": "enter", "\x1e": "cancel", "\x0b": "up", "\n": "down",
    "\x0c": "right", "\x16": "left", "\t": "tab", "\x08": "backspace",
}
_ESC_KEYS = {
    "J": "page_up", "K": "page_down", "F": "finish", "I": "back_tab", "M": "menu",
    "S": "go_to_start", "E": "go_to_end", "X": "export", "N": "favourites",
    "Q": "insert", "W": "delete", "R": "shift_delete",
}
# ^A letter ^M: the function keys that have no key of their own.
_FUNCTION_KEYS = {
    "@": "F2", "B": "F3", "D": "F5", "E": "F6", "H": "F9", "I": "F1",
    "K": "F12", "G": "F8", "A": "ctrl_F1", "F": "F7",
}
_NOTICE_KINDS = {"nd": None, "nr": "result", "nb": "button", "nmu": "button",
                 "nmp": "click", "nmd": "click", "nmr": "click", "nmR": "click",
                 "nt": "scroll"}


def _parse_numbers(part):
    """Suffixed numbers ("12I10P128S") into {"I": 12, "P": 10, ...}."""
    numbers, digits = {}, ""
    for ch in part:
        if ch.isdigit():
            digits += ch
        elif ch.isalpha() and digits:
            numbers[ch] = int(digits)
            digits = ""
    return numbers


def parse_notice(body):
    """The text between ESC and CR of an ESC n reply (body starts with "n")."""
    # The name is "n" and the lower-case letters after it (nmp, nd, nk...).
    i = 1
    while i < len(body) and body[i].islower():
        i += 1
    name = body[:i]
    # ESC nmR (a double click in a list) has an upper-case third letter.
    if name == "nm" and i < len(body) and body[i] == "R":
        name, i = "nmR", i + 1
    rest = body[i:]
    text = None
    cut = rest.find(";")
    if cut >= 0:
        rest, text = rest[:cut], rest[cut + 1:]
    numbers = _parse_numbers(rest)
    if name == "nd":
        kind = "input" if "P" in numbers else "value"
    else:
        kind = _NOTICE_KINDS.get(name, "notice")
    return Reply(kind, ESC + body + CR, name=name, numbers=numbers, text=text)


class Replies:
    """Reads replies from a byte source: read_byte() returns one character
    (latin-1) or None when the connection has gone."""

    def __init__(self, read_byte, log=None):
        self._read = read_byte
        self._log = log or (lambda raw: None)

    def _byte(self):
        b = self._read()
        if b is None:
            raise ConnectionError("the client went away")
        return b

    def _until_cr(self):
        out = []
        while True:
            b = self._byte()
            if b == "\r":
                return "".join(out)
            out.append(b)

    def next(self):
        """The next reply; every one goes to the log as it was received."""
        reply = self._next()
        self._log(reply.raw)
        return reply

    def _next(self):
        b = self._byte()
        if b == ESC:
            c = self._byte()
            if c == "n":
                return parse_notice("n" + self._until_cr())
            if c in _ESC_KEYS:
                return Reply("key", ESC + c, name=_ESC_KEYS[c])
            return Reply("key", ESC + c, name="esc_" + c)
        if b == "\x01":
            c = self._byte()
            end = self._byte()  # the CR after the letter
            return Reply("key", b + c + end, name=_FUNCTION_KEYS.get(c, "fkey_" + c))
        if b in _SINGLE_KEYS:
            return Reply("key", b, name=_SINGLE_KEYS[b])
        return Reply("key", b, name="char", text=b)

    def confirmation(self):
        """The answer to ESC vC: "yes", "no" or "cancel" (the Up key's ^K,
        sent when the box had the cancel option)."""
        while True:
            b = self._byte()
            if b == "\x0b":
                self._log(b)
                return "cancel"
            if b in "YN":
                end = self._byte()
                self._log(b + end)
                return "yes" if b == "Y" else "no"
            # Anything else (a keep-alive notice in between) is not the answer.
            if b == ESC:
                rest = self._until_cr()
                self._log(ESC + rest + "\r")
