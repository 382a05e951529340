# The sample host application: a small order desk. A menu window, an order
# form (prompts, edits with limits, radio buttons, check boxes, OK and
# Cancel), an order list in a scrolling area, validation messages and a
# confirmation before saving. It is written the way a host application
# drives the client: it paints windows and fields, asks for input in one
# field at a time, and lets each reply (its exit reason or event) decide
# what comes next. Kept apart from the login and the line so it reads as
# the reference of that conversation.
"""The demo's order desk, driven over the screen protocol."""

from screen_protocol import (
    AREA, BOLD, BUTTON, CENTRED, CHECK, CHECKED, DEFAULT_BUTTON, EDIT, GROUP, PROMPT, RADIO,
    REASON_BACK_TAB, REASON_BUTTON, REASON_DOWN, REASON_FINISH, REASON_OK_BUTTON,
    REASON_OTHER_FIELD, REASON_UP, RIGHT_ALIGNED, ROW_FIELD, WINDOW_EDITED_ON_LEAVE,
    WINDOW_FINISH_ALLOWED, WINDOW_HOST_SCROLLING, Replies, command, confirmation, message)

PROGRAM = 1
LEVEL = 2  # F4 arrives as a finish (ESC F), keys as the newer replies
MENU, FORM, LIST = 10, 20, 30

# Menu window: push buttons and the letter that chooses each.
MENU_ITEMS = [  # (button, caption, explanation, row, choice, letter)
    (31, "&New order", "Type in a new order", 3, "new", "n"),
    (32, "Order &list", "Browse, open and change orders", 5, "list", "l"),
    (33, "E&xit", "Log out of the demo host", 7, "exit", "x"),
]

# Order form fields, in the order Tab visits them. Each stop is an edit
# (field number, value key, prompt, row, width, input limit) or a group of
# choice buttons.
CUSTOMER, ITEM, QUANTITY, NOTES = 101, 102, 103, 104
EDITS = {
    CUSTOMER: ("customer", "Customer:", 1, 30, 30),
    ITEM: ("item", "Item:", 3, 24, 24),
    QUANTITY: ("quantity", "Quantity:", 5, 5, 3),
    NOTES: ("notes", "Notes:", 13, 44, 60),
}
DELIVERY = [(111, "Standard"), (112, "Express"), (113, "Collect")]
OPTIONS = [(121, "gift_wrap", "Gift wrap"), (122, "invoice_mail", "Invoice by e-mail")]
STOPS = [CUSTOMER, ITEM, QUANTITY, "delivery", 121, 122, NOTES]
OK_BUTTON, CANCEL_BUTTON = 131, 132

# Order list: a scrolling area of VISIBLE rows from window row FIRST_ROW.
AREA_FIELD = 50
FIRST_ROW, VISIBLE = 2, 8
COLUMNS = [  # (value key, heading, column, width)
    ("number", "Order", 2, 6), ("customer", "Customer", 9, 21), ("item", "Item", 31, 17),
    ("quantity", "Qty", 49, 5), ("delivery", "Delivery", 55, 9),
]
OPEN_BUTTON, NEW_BUTTON, CLOSE_BUTTON = 61, 62, 63

# Where a form stop's input goes next.
NEXT, PREV, STAY, FINISH, CANCEL = "next", "prev", "stay", "finish", "cancel"


class CloseRequested(Exception):
    """The user closed the client's main window (or pressed F8): the
    client asks the application to end, and it ends wherever it was."""


def sample_orders():
    rows = [
        ("Harbour Supplies", "Rope, 20 m", 3, "Standard"),
        ("Miller & Sons", "Deck paint", 12, "Express"),
        ("Northwind Cafe", "Coffee beans", 40, "Collect"),
        ("Greenfield Farm", "Fence posts", 150, "Standard"),
        ("Atlas Books", "Shelf brackets", 24, "Standard"),
        ("Blue Lake Hotel", "Towels", 60, "Express"),
        ("City Council", "Road cones", 30, "Standard"),
        ("Dawson Garage", "Engine oil", 18, "Collect"),
        ("Evergreen School", "Whiteboards", 6, "Express"),
        ("Fisher Marine", "Life jackets", 25, "Standard"),
        ("Granite Works", "Safety gloves", 100, "Standard"),
        ("Hill Top Bakery", "Flour sacks", 8, "Collect"),
    ]
    return [{"number": str(1001 + i), "customer": c, "item": it, "quantity": str(q),
             "delivery": d, "gift_wrap": False, "invoice_mail": i % 3 == 0, "notes": ""}
            for i, (c, it, q, d) in enumerate(rows)]


class OrderApp:
    def __init__(self, link, log, user):
        self.link = link
        self.log = log
        self.user = user
        self.replies = Replies(link.read_byte, log.reply)
        self.orders = sample_orders()
        self.next_number = 1001 + len(self.orders)
        self.status_text = None
        self.notice = ""

    # Sending -------------------------------------------------------------

    def send(self, *parts):
        self.link.write("".join(parts))

    def status(self, text):
        # The main window's status line: what the keys do here, after the
        # news of the last step (an order saved). It stays until changed, so
        # it is sent only when it says something new; a field input shows
        # the field's help there and clears it, so after one the line must
        # be sent again (forget_status).
        if self.notice:
            text = self.notice + "  " + text
            self.notice = ""
        if text != self.status_text:
            self.send(command("mns", text, F=7))
            self.status_text = text

    def forget_status(self):
        self.status_text = None

    def reply(self):
        """The next reply that means something here: the keep-alive notice
        (ESC nk2S, sent while an input waits) is only a sign of life."""
        while True:
            r = self.replies.next()
            if r.kind == "notice" and r.name == "nk" and r.number("S") == 2:
                continue
            if r.kind == "key" and r.name == "F8":
                raise CloseRequested()
            return r

    # The session -----------------------------------------------------------

    def run(self):
        # A new program: the client answers with its identification.
        self.send(command("mpi", P=PROGRAM, F=LEVEL))
        ident = self.replies.next()
        self.log.event("client " + ident.raw[1:-1])
        self.send(command("mns", "Demo Trading", F=2))  # the data area in the frame title
        try:
            self.main_menu()
        except CloseRequested:
            self.log.event("close requested")
        # Deleting the last program takes its windows and ends the client's
        # GUI mode; then the session ends like a shell's.
        self.send(command("mpd", P=PROGRAM))
        self.log.event("end")

    # Menu --------------------------------------------------------------------

    def paint_menu(self):
        self.send(command("mcw", "Demo Orders", I=MENU, W=50, H=10, D=5))
        self.send(command("mcf", "Welcome, %s. What would you like to do?" % self.user,
                          P=MENU, I=1, T=PROMPT, F=BOLD, X=2, Y=1, W=46))
        for number, caption, hint, row, _, _ in MENU_ITEMS:
            flags = CENTRED | (DEFAULT_BUTTON if number == MENU_ITEMS[0][0] else 0)
            self.send(command("mcf", caption, P=MENU, I=number, T=BUTTON, F=flags, X=2, Y=row,
                              W=16))
            self.send(command("mcf", hint, P=MENU, I=number + 10, T=PROMPT, X=20, Y=row, W=28))
            self.send(command("mhf", hint, P=MENU, I=number))

    def menu_choice(self, r):
        if r.kind == "button":
            for number, _, _, _, choice, _ in MENU_ITEMS:
                if r.number("I") == number:
                    return choice
        if r.kind == "key":
            if r.name == "enter":
                return MENU_ITEMS[0][4]  # the default button
            if r.name == "cancel":
                return "exit"
            if r.name == "char":
                for _, _, _, _, choice, letter in MENU_ITEMS:
                    if r.text.lower() == letter:
                        return choice
        if self.close_request(r, MENU):
            return "exit"
        return None

    def main_menu(self):
        self.paint_menu()
        while True:
            self.status("Click a button, or type N, L or X.  Esc logs out.")
            self.send(command("mib", P=MENU))
            choice = self.menu_choice(self.reply())
            if choice is None:
                continue
            self.log.event("menu " + choice)
            if choice == "new":
                self.order_form(None)
            elif choice == "list":
                self.order_list()
            elif choice == "exit":
                return
            self.forget_status()

    @staticmethod
    def close_request(r, window):
        # ESC nk1S <window> P: the user closed the window's frame.
        return (r.kind == "notice" and r.name == "nk" and r.number("S") == 1
                and r.number("P") == window)

    # Order form ----------------------------------------------------------------

    def paint_form(self, values, title):
        s = self.send
        s(command("mcw", title, I=FORM, W=62, H=17, D=5,
                  F=WINDOW_FINISH_ALLOWED | WINDOW_EDITED_ON_LEAVE))
        for number, (key, prompt, row, width, limit) in EDITS.items():
            s(command("mcf", prompt, P=FORM, I=number - 100, T=PROMPT, F=RIGHT_ALIGNED,
                      X=1, Y=row, W=12))
            s(command("mcf", values[key], P=FORM, I=number, T=EDIT, X=14, Y=row, W=width,
                      M=limit))
        s(command("mcf", "1 to 999", P=FORM, I=5, T=PROMPT, X=21, Y=5, W=12))
        s(command("mhf", "Who the order is for (required)", P=FORM, I=CUSTOMER))
        s(command("mhf", "What is ordered (required)", P=FORM, I=ITEM))
        s(command("mhf", "How many, from 1 to 999", P=FORM, I=QUANTITY))
        s(command("mcf", "Delivery", P=FORM, I=41, T=GROUP, X=2, Y=7, W=27, H=5))
        for i, (number, caption) in enumerate(DELIVERY):
            flags = CHECKED if values["delivery"] == caption else 0
            s(command("mcf", caption, P=FORM, I=number, T=RADIO, F=flags, X=4, Y=8 + i, W=20))
        s(command("mcf", "Options", P=FORM, I=42, T=GROUP, X=31, Y=7, W=29, H=5))
        for i, (number, key, caption) in enumerate(OPTIONS):
            flags = CHECKED if values[key] else 0
            s(command("mcf", caption, P=FORM, I=number, T=CHECK, F=flags, X=33, Y=8 + i, W=24))
        s(command("mcf", "OK", P=FORM, I=OK_BUTTON, T=BUTTON, F=DEFAULT_BUTTON | CENTRED, X=34, Y=15,
                  W=12))
        s(command("mcf", "Cancel", P=FORM, I=CANCEL_BUTTON, T=BUTTON, F=CENTRED, X=48, Y=15, W=12))

    def order_form(self, order):
        """Enters a new order (order None) or changes one; True when saved."""
        values = dict(order) if order else {
            "number": str(self.next_number), "customer": "", "item": "", "quantity": "1",
            "delivery": "Standard", "gift_wrap": False, "invoice_mail": False, "notes": ""}
        original = dict(values)
        title = ("Order %s" % values["number"]) if order else "New order"
        self.paint_form(values, title)
        self.status("Tab next field, Shift+Tab back, F4 or OK saves, Esc cancels.")
        stop = 0
        while True:
            move, target = self.form_stop(stop, values)
            if move == NEXT:
                # Enter or Tab on the last field is where a form is complete.
                if stop == len(STOPS) - 1:
                    move = FINISH
                else:
                    stop += 1
            elif move == PREV:
                stop = max(0, stop - 1)
            elif move == "goto":
                stop = target
            if move == FINISH:
                error = self.validate(values)
                if error:
                    # The message first, then the input goes back where the
                    # fault is, so the user can mend it at once.
                    bad_stop, text = error
                    self.log.event("invalid " + text)
                    self.send(message(text))
                    stop = bad_stop
                    continue
                answer = self.ask(confirmation("Save order %s for %s?" % (
                    values["number"], values["customer"])))
                if answer == "cancel":
                    continue  # back to the field the user left
                self.send(command("mdw", I=FORM))
                if answer == "no":
                    self.log.event("order %s not saved" % values["number"])
                    return False
                self.save(values, order)
                return True
            if move == CANCEL:
                if values != original and self.ask(
                        confirmation("Discard the changes to this order?", "N", False)) != "yes":
                    continue
                self.send(command("mdw", I=FORM))
                self.log.event("order %s cancelled" % values["number"])
                return False

    def ask(self, box):
        self.send(box)
        answer = self.replies.confirmation()
        self.log.event("answer " + answer)
        return answer

    def save(self, values, order):
        if order is None:
            self.orders.append(values)
            self.next_number += 1
        else:
            order.update(values)
        self.log.event("saved %s customer=%s item=%s quantity=%s delivery=%s gift_wrap=%s "
                       "invoice_mail=%s notes=%s" % tuple(values[k] for k in (
                           "number", "customer", "item", "quantity", "delivery", "gift_wrap",
                           "invoice_mail", "notes")))
        self.notice = "Order %s saved." % values["number"]

    @staticmethod
    def validate(values):
        if not values["customer"]:
            return STOPS.index(CUSTOMER), "Please enter the customer's name."
        if not values["item"]:
            return STOPS.index(ITEM), "Please enter the item ordered."
        q = values["quantity"]
        if not q.isdigit() or not 1 <= int(q) <= 999:
            return STOPS.index(QUANTITY), "The quantity must be a whole number from 1 to 999."
        return None

    def stop_of(self, field):
        """The form stop a field number belongs to, or None."""
        if field in STOPS:
            return STOPS.index(field)
        if any(field == number for number, _ in DELIVERY):
            return STOPS.index("delivery")
        return None

    def form_stop(self, stop, values):
        field = STOPS[stop]
        if field == "delivery":
            return self.delivery_input(values)
        if field in EDITS:
            return self.edit_input(field, values)
        return self.option_input(field, values)

    def edit_input(self, field, values):
        key = EDITS[field][0]
        # Input flag 1: the text comes back even when the user left it
        # unchanged, so every way out of the field carries its value.
        self.send(command("mif", P=FORM, I=field, F=1))
        r = self.reply()
        if r.kind != "input":
            return self.form_event(r, values)
        # A field the user emptied comes back as one blank.
        values[key] = r.text.strip()
        reason, target = r.number("S"), r.number("F")
        if reason & (REASON_FINISH | REASON_OK_BUTTON):
            return FINISH, None
        if reason & REASON_BUTTON:
            return self.button_move(target)
        if reason & REASON_OTHER_FIELD:
            return self.click_move(target, values)
        if reason & (REASON_UP | REASON_BACK_TAB):
            return PREV, None
        if reason == 0 or reason & REASON_DOWN:
            return NEXT, None
        return STAY, None

    def delivery_input(self, values):
        numbers = [n for n, _ in DELIVERY]
        current = next(n for n, caption in DELIVERY if caption == values["delivery"])
        self.send(command("mir", P=FORM, I=current))
        r = self.reply()
        if r.kind == "result":
            # A key with a character code: Enter (0) and Tab (9) go on.
            return (NEXT, None) if r.number("S") in (0, 9) else (STAY, None)
        if r.kind == "key" and r.name in ("up", "left", "down", "right"):
            # Arrows move the choice within the group, as radio buttons do.
            step = -1 if r.name in ("up", "left") else 1
            i = (numbers.index(current) + step) % len(numbers)
            self.choose_delivery(numbers[i], values)
            return STAY, None
        return self.form_event(r, values)

    def option_input(self, field, values):
        self.send(command("mir", P=FORM, I=field))
        r = self.reply()
        if r.kind == "result":
            code = r.number("S")
            if code == 32:
                self.toggle_option(field, values)  # Space ticks or clears the box
                return STAY, None
            return (NEXT, None) if code in (0, 9) else (STAY, None)
        if r.kind == "key" and r.name in ("up", "left"):
            return PREV, None
        if r.kind == "key" and r.name in ("down", "right"):
            return NEXT, None
        if r.kind == "button" and r.number("I") == field:
            self.toggle_option(field, values)  # a click on the box itself
            return STAY, None
        return self.form_event(r, values)

    def form_event(self, r, values):
        """A reply that is an event rather than a value: keys, clicks on
        other fields or buttons, the window's close box."""
        if r.kind == "key":
            if r.name == "cancel":
                return CANCEL, None
            if r.name in ("back_tab", "up"):
                return PREV, None
            if r.name in ("down", "tab"):
                return NEXT, None
            if r.name in ("finish", "page_down"):
                return FINISH, None
            if r.name == "page_up":
                return "goto", 0
            if r.name == "F1":
                self.send(message("Tab and Shift+Tab move between fields; F4 or OK saves "
                                  "the order; Esc or Cancel leaves it."))
            return STAY, None
        if r.kind == "button":
            return self.button_move(r.number("I"))
        if r.kind == "click":
            return self.click_move(r.number("I"), values)
        if self.close_request(r, FORM):
            return CANCEL, None
        return STAY, None

    def button_move(self, button):
        if button == OK_BUTTON:
            return FINISH, None
        if button == CANCEL_BUTTON:
            return CANCEL, None
        return STAY, None

    def click_move(self, field, values):
        # The client never ticks a box or picks a radio button by itself:
        # a click on one is the host's cue to change it.
        if any(field == n for n, _ in DELIVERY):
            self.choose_delivery(field, values)
        elif any(field == n for n, _, _ in OPTIONS):
            self.toggle_option(field, values)
        stop = self.stop_of(field)
        return ("goto", stop) if stop is not None else (STAY, None)

    def choose_delivery(self, field, values):
        for number, caption in DELIVERY:
            if number == field:
                self.send(command("muf", P=FORM, I=number, F=CHECKED))
                values["delivery"] = caption
            else:
                self.send(command("muf", P=FORM, I=number, T=1, F=CHECKED))

    def toggle_option(self, field, values):
        key = next(k for n, k, _ in OPTIONS if n == field)
        values[key] = not values[key]
        self.send(command("muf", P=FORM, I=field, T=0 if values[key] else 1, F=CHECKED))

    # Order list --------------------------------------------------------------------

    def paint_list(self):
        s = self.send
        s(command("mcw", "Order list", I=LIST, W=66, H=13, D=5, F=WINDOW_HOST_SCROLLING))
        for i, (_, heading, column, width) in enumerate(COLUMNS):
            s(command("mcf", heading, P=LIST, I=70 + i, T=PROMPT, F=BOLD, X=column, Y=1,
                      W=width))
        s(command("mcf", None, P=LIST, I=AREA_FIELD, T=AREA, X=1, Y=FIRST_ROW, W=64,
                  H=VISIBLE))
        for _, _, column, _ in COLUMNS[1:]:
            s(command("mrm", P=LIST, I=AREA_FIELD, X=column - 1))
        # The fields that show the rows: one prompt per column on each row.
        # The client moves them with the rows when the area scrolls, so
        # which fields sit on which row is tracked here the same way.
        self.row_fields = []
        for r in range(VISIBLE):
            numbers = [200 + r * 10 + c for c in range(len(COLUMNS))]
            for number, (_, _, column, width) in zip(numbers, COLUMNS):
                s(command("mcf", "", P=LIST, I=number, T=PROMPT, F=ROW_FIELD, X=column,
                          Y=FIRST_ROW + r, W=width))
            self.row_fields.append(numbers)
        s(command("mcf", "&Open", P=LIST, I=OPEN_BUTTON, T=BUTTON, F=DEFAULT_BUTTON | CENTRED, X=2,
                  Y=11, W=12))
        s(command("mcf", "&New", P=LIST, I=NEW_BUTTON, T=BUTTON, F=CENTRED, X=16, Y=11, W=12))
        s(command("mcf", "&Close", P=LIST, I=CLOSE_BUTTON, T=BUTTON, F=CENTRED, X=30, Y=11, W=12))

    def fill_row(self, r):
        i = self.top + r
        order = self.orders[i] if i < len(self.orders) else None
        for number, (key, _, _, _) in zip(self.row_fields[r], COLUMNS):
            self.send(command("maf", order[key] if order else "", P=LIST, I=number))

    def show_position(self):
        self.send(command("mrc", P=LIST, I=AREA_FIELD, Y=FIRST_ROW + self.current - self.top))
        last = max(1, len(self.orders) - 1)
        self.send(command("mrt", P=LIST, I=AREA_FIELD, H=1 + self.current * 99 // last))

    def move(self, delta):
        """Moves the current row; the area scrolls by one row for the arrow
        keys and is painted anew for a page."""
        new = max(0, min(len(self.orders) - 1, self.current + delta))
        if new == self.current:
            return
        last_row = FIRST_ROW + VISIBLE - 1
        if self.top <= new < self.top + VISIBLE:
            pass  # still in view: only the current row moves
        elif abs(delta) == 1:
            # One row out of view: the area scrolls by one row and only the
            # row that came in is filled (the rows move down going up).
            down = delta < 0
            self.send(command("mrs", P=LIST, I=AREA_FIELD, F=FIRST_ROW, T=last_row,
                              S=1 if down else 0))
            if down:
                self.row_fields.insert(0, self.row_fields.pop())
                self.top -= 1
                self.fill_row(0)
            else:
                self.row_fields.append(self.row_fields.pop(0))
                self.top += 1
                self.fill_row(VISIBLE - 1)
        else:
            # A page or more: the view moves as far and is painted anew.
            self.top = max(0, min(self.top + delta, len(self.orders) - VISIBLE))
            self.top = min(max(self.top, new - VISIBLE + 1), new)
            for r in range(VISIBLE):
                self.fill_row(r)
        self.current = new
        self.show_position()

    def order_list(self):
        self.paint_list()
        self.top, self.current = 0, 0
        for r in range(VISIBLE):
            self.fill_row(r)
        self.show_position()
        while True:
            self.status("Up, Down, Page Up, Page Down or a click pick an order; "
                        "Enter or Open opens it; Esc closes.")
            self.send(command("mib", P=LIST))
            r = self.reply()
            action = self.list_action(r)
            if action == "close":
                self.send(command("mdw", I=LIST))
                return
            if action in ("open", "new"):
                i = self.current
                saved = self.order_form(self.orders[i] if action == "open" else None)
                if saved and action == "new":
                    self.move(len(self.orders))  # to the new order at the end
                for row in range(VISIBLE):
                    self.fill_row(row)
                self.show_position()
                self.forget_status()

    def list_action(self, r):
        keys = {"down": 1, "up": -1, "page_down": VISIBLE, "page_up": -VISIBLE,
                "go_to_start": -len(self.orders), "go_to_end": len(self.orders)}
        if r.kind == "key":
            if r.name in keys:
                self.move(keys[r.name])
            elif r.name == "enter":
                return "open"
            elif r.name == "cancel":
                return "close"
            elif r.name == "char":
                return {"o": "open", "n": "new", "c": "close"}.get(r.text.lower())
            return None
        if r.kind == "scroll":
            # Scroll bar or wheel: 1 line up, 2 line down, 3 page up, 4 page down.
            self.move({1: -1, 2: 1, 3: -VISIBLE, 4: VISIBLE}.get(r.number("S"), 0))
            return None
        if r.kind == "click" and r.number("I") == AREA_FIELD:
            # The row counts from the window's top; ESC nmR is a double click.
            i = self.top + r.number("Y") - FIRST_ROW
            if 0 <= i < len(self.orders):
                self.move(i - self.current)
                if r.name == "nmR":
                    return "open"
            return None
        if r.kind == "button":
            return {OPEN_BUTTON: "open", NEW_BUTTON: "new", CLOSE_BUTTON: "close"}.get(
                r.number("I"))
        if self.close_request(r, LIST):
            return "close"
        return None
