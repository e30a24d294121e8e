#!/usr/bin/env python3
"""Writes the input file of a soak run: seeded random play for a number of hours of game time.

The same seed and length give the same file, so a run that fails can be played again. The
play is blind: it knows the screen size and a few places worth clicking (the start screen's
buttons, the right button's menus), and otherwise clicks, drags and types anywhere. Two things
would end the run, and it keeps clear of them: the start screen's End button (--avoid changes
that) and the system menu's last entry (see RIGHT_REACH).

Times are milliseconds of the virtual clock since start-up; the headless input language is
the one of src/host/script_input.h. The file ends with a close at the end time.
"""
import argparse
import random

# Stored key codes (src/host/keymap.cpp): Return, Escape, the arrows, the wheel.
RETURN, ESCAPE = 13, 15
ARROWS = [5, 6, 7, 8]
WHEEL = [32, 33, 34, 35]
MOD_CONTROL = 0x02
# While the right button is held the mouse stays within this many pixels below the press: the
# system menu's end entry starts about 100 pixels below its top.
RIGHT_REACH = 80


def parse_rect(text):
    x, y, w, h = (int(v) for v in text.split(","))
    return (x, y, w, h)


class Play:
    def __init__(self, rng, width, height, avoid, hot):
        self.rng = rng
        self.width = width
        self.height = height
        self.avoid = avoid
        self.hot = hot
        self.lines = []
        self.t = 0
        # Presses of the right button stay above this line (see right_press_point).
        self.right_top = max(1, height - 200)

    def emit(self, dt, text):
        self.t += dt
        self.lines.append(f"{self.t} {text}")

    def allowed(self, x, y):
        return not any(ax <= x < ax + aw and ay <= y < ay + ah for ax, ay, aw, ah in self.avoid)

    def point(self):
        for _ in range(100):
            x = self.rng.randrange(self.width)
            y = self.rng.randrange(self.height)
            if self.allowed(x, y):
                return x, y
        return 1, 1

    def near(self, x, y, spread):
        for _ in range(100):
            nx = min(self.width - 1, max(0, x + self.rng.randint(-spread, spread)))
            ny = min(self.height - 1, max(0, y + self.rng.randint(-spread, spread)))
            if self.allowed(nx, ny):
                return nx, ny
        return self.point()

    def click(self, x, y, button="left"):
        self.emit(self.rng.randint(20, 200), f"move {x} {y}")
        self.emit(self.rng.randint(10, 60), f"down {x} {y} {button}")
        self.emit(self.rng.randint(30, 250), "up")

    def right_press_point(self):
        # The system menu opens at the mouse, kept on the screen: pressed high enough it is not
        # moved up, and its last entry (the system's end) stays out of reach below RIGHT_REACH.
        for _ in range(100):
            x, y = self.rng.randrange(self.width), self.rng.randrange(self.right_top)
            if self.allowed(x, y):
                return x, y
        return 1, 1

    def menu_choice(self):
        # The right button opens a menu where it is pressed (the system menu over the empty
        # screen, an object's menu over it); the release below it chooses an entry, or none.
        x, y = self.right_press_point()
        self.emit(self.rng.randint(20, 200), f"move {x} {y}")
        self.emit(10, f"down {x} {y} right")
        for _ in range(self.rng.randint(1, 4)):
            mx = min(self.width - 1, max(0, x + self.rng.randint(-20, 200)))
            my = max(0, y + self.rng.randint(-10, RIGHT_REACH))
            self.emit(self.rng.randint(30, 200), f"move {mx} {my}")
        self.emit(self.rng.randint(30, 400), "up")

    def drag(self):
        x, y = self.point()
        self.emit(self.rng.randint(20, 200), f"move {x} {y}")
        self.emit(10, f"down {x} {y} left")
        for _ in range(self.rng.randint(1, 6)):
            x, y = self.near(x, y, 80)
            self.emit(self.rng.randint(20, 120), f"move {x} {y}")
        self.emit(self.rng.randint(20, 200), "up")

    def keys(self):
        for _ in range(self.rng.randint(1, 5)):
            r = self.rng.random()
            if r < 0.3:
                code = RETURN
            elif r < 0.45:
                code = ESCAPE
            elif r < 0.75:
                code = self.rng.choice(ARROWS)
            elif r < 0.9:
                code = self.rng.choice(WHEEL)
            else:
                code = ord("A")
            self.emit(self.rng.randint(30, 400), f"key {code}")

    def control_key(self):
        self.emit(self.rng.randint(30, 200), f"mod {MOD_CONTROL}")
        self.emit(self.rng.randint(20, 100), f"char {self.rng.randint(1, 26)}")
        self.emit(self.rng.randint(20, 100), "mod 0")

    def typing(self):
        # Half-width text, now and then a double-byte character (Shift-JIS "あ" "漢").
        for _ in range(self.rng.randint(1, 12)):
            r = self.rng.random()
            if r < 0.1:
                lead, trail = self.rng.choice([(0x82, 0xA0), (0x8A, 0xBF)])
                self.emit(self.rng.randint(30, 200), f"char {lead}")
                self.emit(5, f"char {trail}")
            else:
                self.emit(self.rng.randint(30, 200), f"char {self.rng.randint(0x20, 0x7E)}")

    def step(self):
        r = self.rng.random()
        if r < 0.30:
            self.click(*self.point())
        elif r < 0.42 and self.hot:
            self.click(*self.near(*self.rng.choice(self.hot), 6))
        elif r < 0.55:
            self.menu_choice()
        elif r < 0.60:
            self.click(*self.right_press_point(), button="right")
        elif r < 0.67:
            self.drag()
        elif r < 0.82:
            self.keys()
        elif r < 0.86:
            self.control_key()
        elif r < 0.95:
            self.typing()
        else:
            # A pause: animations, effects and the clock run on their own.
            self.emit(self.rng.randint(2000, 30000), f"move {self.point()[0]} {self.point()[1]}")
        self.emit(self.rng.randint(50, 1500), f"move {self.point()[0]} {self.point()[1]}")


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--hours", type=float, default=8.0, help="game hours (default 8)")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--width", type=int, default=800)
    p.add_argument("--height", type=int, default=600)
    p.add_argument("--start", type=int, default=3000, help="ms before the first input")
    p.add_argument("--avoid", type=parse_rect, action="append",
                   help="x,y,w,h never clicked (default: the start screen's End button)")
    p.add_argument("--hot", action="append", default=None,
                   help="x,y a place worth clicking often (default: the start screen's buttons)")
    p.add_argument("--out", required=True)
    a = p.parse_args()
    avoid = a.avoid if a.avoid is not None else [(530, 455, 150, 60)]
    hot = [tuple(int(v) for v in h.split(",")) for h in a.hot] if a.hot else [(215, 482), (395, 482)]
    play = Play(random.Random(a.seed), a.width, a.height, avoid, hot)
    end = int(a.hours * 3600 * 1000)
    play.t = a.start
    while play.t < end:
        play.step()
    # The step that passed the end is cut off; the run closes at the end time.
    play.lines = [line for line in play.lines if int(line.split(" ", 1)[0]) < end]
    with open(a.out, "w") as f:
        f.write(f"# soak input: seed {a.seed}, {a.hours} game hours, {a.width}x{a.height}\n")
        f.write("\n".join(play.lines))
        f.write(f"\n{end} close\n")


if __name__ == "__main__":
    main()
