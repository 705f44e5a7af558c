#!/usr/bin/python3
"""The real program under a virtual X server, driven by real keys and mouse clicks.

Starts kestrova-videos under Xvfb and openbox in a throw-away home, types the sessions
of the table below with xdotool (real events through the server: Qt ignores the
synthetic ones that "xdotool --window" sends) and reads the catalogue back with dbfread,
a reader that shares no code with the program.

    /usr/bin/python3 tests/e2e/run_e2e.py --build BUILD [--shots DIR]

--shots DIR also saves the pictures of the edit window used in the documentation;
--only PATTERN runs the scenarios whose names match; --keep keeps the temporary home.
Prints one line per scenario, then "N passed, M failed". Exit status 0 when all
passed, 1 when one failed, 77 when no X server can be started (no Xvfb).

Runs under Debian's /usr/bin/python3: dbfread is its python3-dbfread package.
"""
import argparse
import datetime
import importlib.util
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINDOW_TIMEOUT = 5.0  # a window appearing or going away
FILE_TIMEOUT = 4.0    # a write showing in the catalogue
POLL = 0.05

MAIN = r'^Kestrova Videos 97'
EDIT = r'^Edit$'
ANY_EDIT = r'^Edit( \(.*\))?$'
NEW_RECORD = r'^Edit \(New Record\)$'
WARNING = r'^Warning$'
SPACE = object()  # in a walk: tick the check box instead of typing

# The 40 fields of a catalogue in file order, with their dBASE types.
FIELDS = [
    ('Title', 'C'), ('Star1', 'C'), ('Star2', 'C'), ('Star3', 'C'), ('Star4', 'C'), ('Star5', 'C'),
    ('Star6', 'C'), ('Producer', 'C'), ('Director', 'C'), ('ReleasedBy', 'C'), ('Year', 'N'),
    ('RunTime', 'N'), ('Rating', 'C'), ('Category', 'C'), ('Picture', 'C'), ('Sound', 'C'),
    ('Format', 'C'), ('PersonalRa', 'C'), ('MediaNum', 'C'), ('RecSpeed', 'C'), ('CounterSta', 'C'),
    ('CounterSto', 'C'), ('Descriptio', 'C'), ('Content', 'C'), ('Miscellane', 'C'), ('KeyWords', 'C'),
    ('LaserForma', 'C'), ('ListPrice', 'N'), ('OscarNom', 'C'), ('OscarAward', 'C'), ('CheckOut', 'C'),
    ('CheckDate', 'D'), ('CheckName', 'C'), ('PurchPrice', 'N'), ('PurchDate', 'D'), ('WherePurch', 'C'),
    ('Viewed', 'C'), ('Writers', 'C'), ('UserDef1', 'C'), ('UserDef2', 'C'),
]

# What a record added with only some boxes filled holds in the others.
BLANK_RECORD = {name: ('' if kind == 'C' else None) for name, kind in FIELDS}
BLANK_RECORD.update(RunTime=0, ListPrice=0, PurchPrice=0, CheckOut='No', Viewed='No')

# ---------------------------------------------------------------- catalogues

# Every record also gets the values an update writes back unchanged (prices 0, both
# boxes "No"), so that a record the program rewrites as it was reads the same.
SEEDS = {
    'MASTER': [
        dict(Title='Desperado', Star1='Antonio Banderas', Star2='Audrey Tautou', Year=1995, RunTime=104),
        dict(Title='Brazil', Star1='Jonathan Pryce', Star2='Robert De Niro', Year=1985, RunTime=132),
        dict(Title='Casablanca', Star1='Humphrey Bogart', Star2='Ingrid Bergman', Year=1942, RunTime=102),
        dict(Title='Chinatown', Star1='Jack Nicholson', Star2='Faye Dunaway', Year=1974, RunTime=130),
        dict(Title='La Dolce Vita', Star1='Marcello Mastroianni', Year=1960, RunTime=174),
        dict(Title='The Seventh Seal', Star1='Max von Sydow', Year=1957, RunTime=96),
        dict(Title="L'Avventura", Star1='Monica Vitti', Year=1960, RunTime=143),
        dict(Title='Rashomon', Star1='Toshiro Mifune', Year=1950, RunTime=88),
        dict(Title='Cleo from 5 to 7', Star1='Corinne Marchand', Year=1962, RunTime=90),
        dict(Title='Jules and Jim', Star1='Jeanne Moreau', Year=1962, RunTime=105),
        dict(Title='Annie Hall', Star1='Diane Keaton', Year=1977, RunTime=93),
        dict(Title='Vertigo', Star1='James Stewart', Star2='Kim Novak', Year=1958, RunTime=128),
    ],
    # A second catalogue: opening it loads the (empty) default star list again.
    'SECOND': [
        dict(Title='Desperado', Star1='Antonio Banderas', Star2='Audrey Tautou', Year=1995, RunTime=104),
        dict(Title='Brazil', Star1='Jonathan Pryce', Year=1985, RunTime=132),
    ],
}

# The program-wide Oscar list; the dialog shows it sorted: Best Actress, Best Director,
# Best Picture.
OSCAR_LIST = ['Best Picture', 'Best Director', 'Best Actress']

# ---------------------------------------------------------------- scenarios

# Every box of the edit window in Enter order with what is typed into it.
ENTER_WALK = [
    # Particulars
    'Amelie', 'Audrey Tautou', 'Mathieu Kassovitz', 'Rufus', 'Lorella Cravotta', 'Serge Merlin',
    'Jamel Debbouze', '2001', 'Claudie Ossard', 'Jean-Pierre Jeunet', 'Guillaume Laurant', 'Miramax',
    # Attributes
    'Romance', 'R', 'Favorite', 'paris whimsy', 'A shy waitress changes the lives of those around her',
    'DVD', 'CAV', 'Movie', 'Excellent', 'Dolby 5.1', 'SP',
    # Library: play time replaces the "0" of an empty record; the dates are typed as digits
    'D-042', '0012', '1234', '122', SPACE, SPACE, '03152002', 'Nino Quincampoix',
    # Other: the purchase price, grouped in thousands, is longer than the box
    '19.99', '12345678.95', '12252001', 'Gift', 'Best Original Screenplay', 'Best Picture', 'Subtitled',
    'Region 2', 'French',
]
ENTER_WALK_RECORD = dict(
    Title='Amelie', Star1='Audrey Tautou', Star2='Mathieu Kassovitz', Star3='Rufus', Star4='Lorella Cravotta',
    Star5='Serge Merlin', Star6='Jamel Debbouze', Year=2001, Producer='Claudie Ossard',
    Director='Jean-Pierre Jeunet', Writers='Guillaume Laurant', ReleasedBy='Miramax', Category='Romance',
    Rating='R', PersonalRa='Favorite', KeyWords='paris whimsy',
    Descriptio='A shy waitress changes the lives of those around her', Format='DVD', LaserForma='CAV',
    Content='Movie', Picture='Excellent', Sound='Dolby 5.1', RecSpeed='SP', MediaNum='D-042',
    CounterSta='0012', CounterSto='1234', RunTime=122, Viewed='Yes', CheckOut='Yes',
    CheckDate=datetime.date(2002, 3, 15), CheckName='Nino Quincampoix', ListPrice=19.99,
    PurchPrice=12345678.95, PurchDate=datetime.date(2001, 12, 25), WherePurch='Gift',
    OscarAward='Best Original Screenplay', OscarNom='Best Picture', Miscellane='Subtitled',
    UserDef1='Region 2', UserDef2='French')

# From Title, this many Enters reach a box: Director 9, OscarAward 35.
TO_DIRECTOR = 9
TO_OSCAR_AWARD = 35


def edit(title):
    """Select the record and open it in the edit window."""
    return [('select', title), ('key', 'ctrl+e'), ('window', EDIT)]


def append_to_title(text):
    return [('key', 'End'), ('type', text)]


def asked(leave, answer):
    """Leave the record with changes, see the question, give the answer."""
    return [leave, ('window', WARNING), ('key', answer), ('gone', WARNING)]


def leave_session(close):
    """Without changes the window just closes; with changes No keeps it and what was
    typed (Update & Exit then writes it), Yes closes it without writing."""
    return ([('key', 'ctrl+e'), ('window', EDIT), close, ('gone', ANY_EDIT)]
            + [('main',), ('key', 'ctrl+e'), ('window', EDIT)] + append_to_title(' (kept)')
            + asked(close, 'alt+n') + [('window', EDIT), ('key', 'alt+u'), ('gone', ANY_EDIT)]
            + [('main',), ('key', 'ctrl+e'), ('window', EDIT)] + append_to_title(' (dropped)')
            + asked(close, 'alt+y') + [('gone', ANY_EDIT)])


CLOSE_BOX = ('close', EDIT)

# name, catalogue, typed session, expected changes by title, expected added records,
# expected pick-list entries by list number.
SCENARIOS = [
    # Up&date is the second of the six buttons; the star list starts empty, so the first
    # update gives it its first entries.
    dict(name='two-updates-mouse', catalogue='MASTER',
         steps=edit('Desperado') + [('click', EDIT, 1), ('click', EDIT, 1), ('doc', 'edit-two-updates.png'),
                                    ('key', 'alt+u'), ('gone', ANY_EDIT)],
         lists={2: ['Antonio Banderas', 'Audrey Tautou']}),
    dict(name='two-updates-keys', catalogue='SECOND',
         steps=edit('Desperado') + [('key', 'alt+d'), ('key', 'alt+d'), ('key', 'alt+u'), ('gone', ANY_EDIT)]),
    dict(name='enter-walk-add', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+a'), ('window', EDIT), ('walk', ENTER_WALK),
                ('doc', 'edit-enter-walk.png'), ('key', 'alt+u'), ('gone', ANY_EDIT)],
         added=[ENTER_WALK_RECORD]),
    dict(name='ctrl-u-in-text-box', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+a'), ('window', EDIT), ('type', 'Wings of Desire'), ('key', 'ctrl+u'),
                ('gone', ANY_EDIT)],
         added=[dict(Title='Wings of Desire')]),
    dict(name='ctrl-e-in-text-box', catalogue='MASTER',
         steps=edit('Brazil') + [('key', 'ctrl+e'), ('window', NEW_RECORD), ('key', 'alt+x'), ('gone', ANY_EDIT)]),
    dict(name='ctrl-e-in-drop-down', catalogue='MASTER',
         steps=edit('Brazil') + [('key', 'Return'), ('key', 'ctrl+e'), ('window', NEW_RECORD), ('key', 'alt+x'),
                                 ('gone', ANY_EDIT)]),
    dict(name='escape', catalogue='MASTER',
         steps=[('select', 'Casablanca')] + leave_session(('key', 'Escape')),
         changed={'Casablanca': dict(Title='Casablanca (kept)')}),
    dict(name='close-box', catalogue='MASTER',
         steps=[('select', 'Chinatown')] + leave_session(CLOSE_BOX),
         changed={'Chinatown': dict(Title='Chinatown (kept)')}),
    # In Star 1 order La Dolce Vita, The Seventh Seal and L'Avventura follow each other.
    dict(name='previous-next', catalogue='MASTER',
         steps=edit('The Seventh Seal')
         # Yes writes, then moves on (to L'Avventura, then back without a question)
         + append_to_title(' [yes]') + asked(('key', 'alt+n'), 'alt+y') + [('window', EDIT)]
         + append_to_title(' [next]') + [('key', 'alt+d', 'alt+p')]
         # No drops what was typed and moves (to La Dolce Vita, then back)
         + append_to_title(' [no]') + asked(('key', 'alt+p'), 'alt+n') + [('window', EDIT)]
         + append_to_title(' [previous]') + [('key', 'alt+d', 'alt+n')]
         # Cancel stays
         + append_to_title(' [cancel]') + asked(('key', 'alt+n'), 'Escape') + [('window', EDIT)]
         + [('key', 'alt+d', 'alt+x'), ('gone', ANY_EDIT)],
         changed={'The Seventh Seal': dict(Title='The Seventh Seal [yes] [cancel]'),
                  "L'Avventura": dict(Title="L'Avventura [next]"),
                  'La Dolce Vita': dict(Title='La Dolce Vita [previous]')}),
    # Year is the eleventh column of the viewer.
    dict(name='grid-edit', catalogue='MASTER',
         steps=[('select', 'Rashomon'), ('key', *['Right'] * 10), ('type', '1951'), ('key', 'Return')],
         changed={'Rashomon': dict(Year=1951)}),
    dict(name='pick-list-entry', catalogue='MASTER',
         steps=edit('Cleo from 5 to 7') + [('enter', TO_DIRECTOR), ('type', 'Agnes Varda'), ('key', 'alt+u'),
                                           ('gone', ANY_EDIT)]
         + edit('Jules and Jim') + [('enter', TO_DIRECTOR), ('key', 'alt+Down', 'End', 'Return'),
                                    ('key', 'alt+u'), ('gone', ANY_EDIT)],
         changed={'Cleo from 5 to 7': dict(Director='Agnes Varda'), 'Jules and Jim': dict(Director='Agnes Varda')},
         lists={3: ['Agnes Varda']}),
    dict(name='oscar-dialog', catalogue='MASTER',
         steps=edit('Annie Hall') + [('enter', TO_OSCAR_AWARD), ('key', 'Tab', 'space'), ('window', '^Oscar Awards$'),
                                     ('key', 'space', 'Down', 'Down', 'space', 'alt+o'), ('gone', '^Oscar Awards$'),
                                     ('window', EDIT), ('key', 'alt+d', 'alt+x'), ('gone', ANY_EDIT)],
         changed={'Annie Hall': dict(OscarAward='Best Actress, Best Picture')}),
    # The criterion cell of Title is current when the window opens: typing goes into it.
    dict(name='search-typed-at-once', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+s'), ('window', '^Search$'), ('type', 'vertigo'), ('key', 'alt+o'),
                ('gone', '^Search$'), ('main',), ('key', 'ctrl+i')]),
    # A click on Title's criterion cell (the grid's third column, first row) to type into.
    dict(name='search-then-edit', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+s'), ('window', '^Search$'), ('cell', '^Search$', 420, 90),
                ('type', 'vertigo'), ('key', 'alt+o'),
                ('gone', '^Search$'), ('main',), ('key', 'ctrl+e'), ('window', EDIT)]
         + append_to_title(' (found)') + [('key', 'alt+u'), ('gone', ANY_EDIT), ('main',), ('key', 'ctrl+i')],
         changed={'Vertigo': dict(Title='Vertigo (found)')}),
    # Alt+F opens the Reports window's File menu (no button shares the letter), whose
    # E&xit closes the window.
    dict(name='reports-alt-f-file-menu', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+r'), ('window', '^Reports$'), ('key', 'alt+f'), ('key', 'x'),
                ('gone', '^Reports$')]),
    # Ctrl+K and a star's name leave one row, the current one: Ctrl+E edits it. Escape in
    # the box shows every record again.
    dict(name='quick-filter', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+k'), ('type', 'MIFUNE'), ('key', 'ctrl+e'), ('window', EDIT)]
         + append_to_title(' (filtered)') + [('key', 'alt+u'), ('gone', ANY_EDIT), ('main',), ('key', 'ctrl+k'),
                                             ('key', 'Escape')],
         changed={'Rashomon': dict(Title='Rashomon (filtered)')}),
    # Tools, Statistics: the window with its charts, closed again.
    dict(name='statistics-window', catalogue='MASTER',
         steps=[('main',), ('key', 'alt+t'), ('key', 't'), ('window', '^Statistics$'), ('key', 'alt+l'),
                ('gone', '^Statistics$')]),
    # Two more "Brazil"s without a year join the first; the last of the group is checked
    # and deleted through the delete question; packing then leaves the file as the reader
    # here takes it, without the deleted record.
    dict(name='duplicates-delete', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+a'), ('window', EDIT), ('type', 'brazil.'), ('key', 'ctrl+u'),
                ('gone', ANY_EDIT), ('main',), ('key', 'ctrl+a'), ('window', EDIT), ('type', 'Brazil!'),
                ('key', 'ctrl+u'), ('gone', ANY_EDIT), ('main',), ('key', 'alt+t'), ('key', 'd'),
                ('window', '^Duplicates$'), ('key', 'End', 'space', 'alt+d'), ('window', '^Confirm$'),
                ('key', 'alt+y'), ('gone', '^Confirm$'), ('window', '^Duplicates$'), ('key', 'alt+l'),
                ('gone', '^Duplicates$'), ('main',), ('key', 'alt+t'), ('key', 'p'), ('window', '^Confirm$'),
                ('key', 'alt+y'), ('gone', '^Confirm$')],
         added=[dict(Title='brazil.')]),
    # The edit is written when the window has gone; Alt+Backspace takes it back.
    dict(name='undo-edit', catalogue='MASTER',
         steps=edit('Brazil') + append_to_title(' (undone)') + [('key', 'alt+u'), ('gone', ANY_EDIT), ('main',),
                                                                ('key', 'alt+BackSpace')]),
    # Year 1962 -> 1963 changes two records; the Records menu then offers to undo the run.
    dict(name='replace-then-undo', catalogue='MASTER',
         steps=[('main',), ('key', 'ctrl+f'), ('window', '^Search and Replace$'), ('type', 'Y'), ('key', 'Tab'),
                ('type', '1962'), ('key', 'Tab'), ('type', '1963'), ('key', 'Return'), ('window', '^Finished$'),
                ('key', 'Return'), ('gone', '^Search and Replace$'), ('main',), ('key', 'alt+o'),
                ('doc', 'undo-after-replace.png', MAIN), ('key', 'Escape'), ('main',), ('key', 'alt+BackSpace')]),
]


class Failure(Exception):
    pass


def describe_step(step):
    args = [a if isinstance(a, (str, int)) else '[...]' for a in step[1:]]
    return '%s %s' % (step[0], ' '.join(str(a) for a in args))


# ---------------------------------------------------------------- the X server

def free_display():
    taken = set()
    for folder, pattern in (('/tmp/.X11-unix', r'^X(\d+)$'), ('/tmp', r'^\.X(\d+)-lock$')):
        try:
            for name in os.listdir(folder):
                m = re.match(pattern, name)
                if m:
                    taken.add(int(m.group(1)))
        except OSError:
            pass
    while True:
        n = random.randint(100, 899)
        if n not in taken:
            return n


def wait_until(what, timeout, describe):
    deadline = time.monotonic() + timeout
    while True:
        result = what()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(describe() if callable(describe) else describe)
        time.sleep(POLL)


class Display:
    """Xvfb with openbox, and the xdotool, xwininfo, wmctrl and import calls on it."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        self.processes = []
        self.name = None

    def start(self):
        for _ in range(3):
            number = free_display()
            log = open(os.path.join(self.log_dir, 'xvfb.log'), 'w')
            xvfb = subprocess.Popen(['Xvfb', ':%d' % number, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp',
                                     '-noreset'], stdout=log, stderr=subprocess.STDOUT)
            socket = '/tmp/.X11-unix/X%d' % number
            deadline = time.monotonic() + 10
            while xvfb.poll() is None and not os.path.exists(socket) and time.monotonic() < deadline:
                time.sleep(POLL)
            if xvfb.poll() is None and os.path.exists(socket):
                self.processes.append(xvfb)
                self.name = ':%d' % number
                break
            stop_process(xvfb)
        else:
            raise Failure('Xvfb did not start (see %s)' % os.path.join(self.log_dir, 'xvfb.log'))
        log = open(os.path.join(self.log_dir, 'openbox.log'), 'w')
        self.processes.append(subprocess.Popen(['openbox', '--sm-disable'], env=self.env(), stdout=log,
                                               stderr=subprocess.STDOUT))
        wait_until(lambda: '# 0x' in self.run('xprop', '-root', '_NET_SUPPORTING_WM_CHECK', check=False),
                   10, 'openbox did not start')

    def stop(self):
        for p in reversed(self.processes):
            stop_process(p)
        self.processes = []

    def env(self, **extra):
        env = dict(os.environ, DISPLAY=self.name)
        env.update(extra)
        return env

    def run(self, *args, check=True, timeout=10):
        try:
            done = subprocess.run(args, env=self.env(), capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure('%s did not finish in %d s' % (' '.join(args[:3]), timeout))
        if check and done.returncode != 0:
            raise Failure('%s failed: %s' % (' '.join(args[:3]), done.stderr.strip()))
        return done.stdout

    def windows(self, caption):
        out = self.run('xdotool', 'search', '--onlyvisible', '--name', caption, check=False)
        return [int(w) for w in out.split()]

    def caption(self, window):
        return self.run('xdotool', 'getwindowname', str(window), check=False).strip()

    def shown(self):
        """The captions of the windows on the screen, for a failure's reason."""
        return ', '.join('"%s"' % self.caption(w) for w in self.windows('.'))

    def wait_window(self, caption, timeout=WINDOW_TIMEOUT):
        found = wait_until(lambda: self.windows(caption), timeout,
                           lambda: 'no window "%s" after %g s (on the screen: %s)' % (caption, timeout, self.shown()))
        return found[-1]

    def wait_gone(self, caption, timeout=WINDOW_TIMEOUT):
        wait_until(lambda: not self.windows(caption), timeout,
                   lambda: 'window "%s" still open after %g s (on the screen: %s)' % (caption, timeout, self.shown()))

    def focus(self, window):
        self.run('xdotool', 'windowraise', str(window), check=False)
        self.run('xdotool', 'windowfocus', '--sync', str(window), timeout=5)

    def keys(self, *keys):
        batch = []
        for key in keys:
            batch.append(key)
            if re.match(r'^alt\+[a-z]$', key):
                # Alt+letter presses its button, which clicks 100 ms later: the keys
                # after it wait for the click, as they would behind a person.
                self.run('xdotool', 'key', '--delay', '20', *batch)
                time.sleep(0.25)
                batch = []
        if batch:
            self.run('xdotool', 'key', '--delay', '20', *batch)

    def type(self, text):
        self.run('xdotool', 'type', '--delay', '8', '--', text)

    def click(self, x, y):
        # Without --sync, which waits for ever when the pointer is already there.
        self.run('xdotool', 'mousemove', str(x), str(y), 'click', '1')

    def geometry(self, window):
        """x, y, width, height of the window's inside, on the screen."""
        out = self.run('xwininfo', '-id', str(window))

        def value(label):
            return int(re.search(label + r':\s+(-?\d+)', out).group(1))
        return value('Absolute upper-left X'), value('Absolute upper-left Y'), value('Width'), value('Height')

    def frame(self, window):
        """x, y, width, height of the window with the frame the window manager drew."""
        x, y, w, h = self.geometry(window)
        out = self.run('xprop', '-id', str(window), '_NET_FRAME_EXTENTS', check=False)
        m = re.search(r'=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)', out)
        left, right, top, bottom = (int(v) for v in m.groups()) if m else (0, 0, 0, 0)
        return x - left, y - top, w + left + right, h + top + bottom

    def close(self, window):
        """A close request through the window manager, as the close box sends it."""
        self.run('wmctrl', '-i', '-c', '0x%x' % window)

    def screenshot(self, path, window=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        args = ['import', '-window', 'root']
        if window is not None:
            x, y, w, h = self.frame(window)
            args += ['-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage']
        self.run(*args, path, timeout=20)


def stop_process(p):
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


# ---------------------------------------------------------------- the catalogue on disk

def read_records(path):
    """The records of a catalogue as dicts by field name, in physical order."""
    from dbfread import DBF
    table = DBF(path, encoding='cp1252', char_decode_errors='replace', load=True)
    names = {name.upper(): name for name, _ in FIELDS}
    if sorted(names) != sorted(f.upper() for f in table.field_names):
        raise Failure('%s does not have the 40 catalogue fields' % path)
    if table.deleted:
        raise Failure('%s holds deleted records' % path)
    return [{names[k.upper()]: v for k, v in record.items()} for record in table.records]


def read_records_settled(path):
    """read_records, tried again while the program is in the middle of a write."""
    last = None
    for _ in range(20):
        try:
            return read_records(path)
        except Failure:
            raise
        except Exception as e:  # a header and a record count written at different moments
            last = e
            time.sleep(POLL)
    raise Failure('%s cannot be read: %s' % (path, last))


def same(expected, found):
    if isinstance(expected, (int, float)) and isinstance(found, (int, float)):
        return abs(expected - found) < 0.005
    return expected == found


def record_differences(label, expected, found):
    return ['%s %s: expected %r, found %r' % (label, name, expected[name], found.get(name))
            for name, _ in FIELDS if not same(expected[name], found.get(name))]


def sort_position(records, title):
    """The viewer row of a record: the catalogues keep the default order, upper-cased
    Star 1, records of equal keys in the order they were added."""
    order = sorted(range(len(records)), key=lambda i: ((records[i]['Star1'] or '').upper(), i))
    rows = [i for i in order if records[i]['Title'] == title]
    if len(rows) != 1:
        raise Failure('%d records titled %r' % (len(rows), title))
    return order.index(rows[0])


def list_entries(path):
    try:
        with open(path, 'rb') as f:
            return [line for line in f.read().decode('cp1252').split('\r\n') if line.strip()]
    except OSError:
        return []


def read_profile(path):
    """The [Misc] section of a settings file as a dict."""
    values, section = {}, None
    with open(path, 'rb') as f:
        for line in f.read().decode('cp1252').splitlines():
            m = re.match(r'^\[(.*)\]\s*$', line)
            if m:
                section = m.group(1)
            elif section == 'Misc' and '=' in line:
                key, value = line.split('=', 1)
                values[key.strip()] = value.strip()
    return values


# ---------------------------------------------------------------- the program

class Home:
    """A private home: settings, the program folder with its catalogues, a run folder."""

    def __init__(self, root):
        self.root = root
        self.config = os.path.join(root, '.config')
        self.data = os.path.join(root, '.local', 'share')
        self.run = os.path.join(root, 'run')
        self.program_dir = os.path.join(self.data, 'kestrova-videos')
        self.config_dir = os.path.join(self.config, 'kestrova-videos')
        for d in (self.program_dir, self.config_dir, self.run, os.path.join(root, '.cache')):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.run, 0o700)

    def env(self, display):
        env = display.env(HOME=self.root, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                          XDG_RUNTIME_DIR=self.run, XDG_CACHE_HOME=os.path.join(self.root, '.cache'),
                          QT_QPA_PLATFORM='xcb', DBUS_SESSION_BUS_ADDRESS='disabled:', NO_AT_BRIDGE='1')
        env.pop('QT_QPA_PLATFORMTHEME', None)
        return env

    def write_settings(self, **misc):
        lines = ['[Misc]', 'Show Tips=No'] + ['%s=%s' % (k.replace('_', ' '), v) for k, v in misc.items()]
        with open(self.settings_path(), 'wb') as f:
            f.write(('\r\n'.join(lines) + '\r\n').encode('cp1252'))

    def settings_path(self):
        return os.path.join(self.config_dir, 'QVRVID.INI')

    def catalogue(self, name):
        return os.path.join(self.program_dir, name + '.DBF')


class Program:
    def __init__(self, build, display, home, log_path):
        self.app = os.path.join(build, 'app', 'kestrova-videos')
        self.display, self.home, self.log_path = display, home, log_path
        self.process = None

    def start(self):
        log = open(self.log_path, 'a')
        self.process = subprocess.Popen([self.app], env=self.home.env(self.display), cwd=self.home.root,
                                        stdout=log, stderr=subprocess.STDOUT)

    def stop(self):
        if self.process:
            stop_process(self.process)

    def running(self):
        return self.process is not None and self.process.poll() is None


# ---------------------------------------------------------------- one session

class Session:
    """One program start on the shared catalogues, running the table's scenarios."""

    def __init__(self, build, display, home, shots, log_path):
        self.build, self.x, self.home, self.shots = build, display, home, shots
        self.program = Program(build, display, home, log_path)
        self.current = 'MASTER'

    def start(self):
        self.program.start()
        self.x.wait_window(MAIN, 20)
        self.current = 'MASTER'

    def restart(self):
        self.program.stop()
        self.start()

    def main(self):
        window = self.x.wait_window(MAIN)
        self.x.focus(window)
        return window

    def edit_window(self, caption):
        window = self.x.wait_window(caption)
        return window, self.x.geometry(window)

    def select(self, title):
        """Focus the viewer and put its cursor on the record's row."""
        row = sort_position(read_records_settled(self.home.catalogue(self.current)), title)
        window = self.main()
        x, y, w, h = self.x.geometry(window)
        self.x.click(x + w // 4, y + h * 3 // 4)  # below the last row: focus, no cell
        self.x.keys('ctrl+Home', *['Down'] * row)

    def open_catalogue(self, name):
        self.main()
        self.x.keys('ctrl+o')
        dialog = self.x.wait_window('^Open Database File$')
        self.x.focus(dialog)
        self.x.type(self.home.catalogue(name))
        self.x.keys('Return')
        caption = r'^Kestrova Videos 97 \(%s\)$' % name
        try:
            self.x.wait_window(caption, 2)
        except Failure:
            if self.x.windows('^Open Database File$'):  # the name completer took the first Enter
                self.x.keys('Return')
            self.x.wait_window(caption)
        self.current = name

    def step(self, step):
        op, args = step[0], step[1:]
        if op == 'main':
            self.main()
        elif op == 'select':
            self.select(args[0])
        elif op == 'key':
            self.x.keys(*args)
        elif op == 'type':
            self.x.type(args[0])
        elif op == 'enter':
            self.x.keys(*['Return'] * args[0])
        elif op == 'walk':
            for value in args[0]:
                if value is SPACE:
                    self.x.keys('space', 'Return')
                else:
                    self.x.type(value)
                    self.x.keys('Return')
        elif op == 'window':
            self.x.focus(self.x.wait_window(args[0]))
        elif op == 'gone':
            self.x.wait_gone(args[0])
        elif op == 'click':
            # The six buttons share the width of the window's bottom row.
            window, (x, y, w, h) = self.edit_window(args[0])
            self.x.click(x + w * (2 * args[1] + 1) // 12, y + h - 23)
        elif op == 'cell':
            # A point inside the window, in its own coordinates.
            x, y, w, h = self.x.geometry(self.x.wait_window(args[0]))
            self.x.click(x + args[1], y + args[2])
        elif op == 'close':
            self.x.close(self.x.wait_window(args[0]))
        elif op == 'doc':
            if self.shots:
                if len(args) > 1:
                    time.sleep(0.5)  # a menu just opened draws itself first
                self.x.screenshot(os.path.join(self.shots, args[0]),
                                  self.x.wait_window(args[1] if len(args) > 1 else ANY_EDIT))
        else:
            raise ValueError(op)

    def run(self, scenario):
        if not self.program.running():
            self.start()
        name = scenario['catalogue']
        if name != self.current:
            self.open_catalogue(name)
        path = self.home.catalogue(name)
        before = read_records_settled(path)
        titles = {r['Title'] for r in before}
        for title in scenario.get('changed', {}):
            if title not in titles:
                raise Failure('no record %r to change' % title)
        for number, step in enumerate(scenario['steps'], 1):
            try:
                self.step(step)
            except Failure as e:
                raise Failure('step %d %s: %s' % (number, describe_step(step), e))
        self.check(path, before, scenario)

    def check(self, path, before, scenario):
        changed = scenario.get('changed', {})
        expected = [dict(r, **changed.get(r['Title'], {})) for r in before]
        expected += [dict(BLANK_RECORD, **r) for r in scenario.get('added', [])]

        def problems():
            found = read_records_settled(path)
            if len(found) != len(expected):
                return ['%d records, expected %d' % (len(found), len(expected))]
            out = []
            for number, (e, f) in enumerate(zip(expected, found), 1):
                out += record_differences('record %d (%s)' % (number, e['Title']), e, f)
            base = os.path.splitext(path)[0]
            for list_number, entries in scenario.get('lists', {}).items():
                have = list_entries(base + '.%03d' % list_number)
                out += ['list %d has no entry %r' % (list_number, e) for e in entries if e not in have]
            return out

        deadline = time.monotonic() + FILE_TIMEOUT
        while True:
            found = problems()
            if not found or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        if found:
            raise Failure('; '.join(found[:4]) + ('; ...' if len(found) > 4 else ''))

    def recover(self):
        """Answer and close what a failed scenario left open, so that the next one starts
        at the main window; start the program again when that does not work."""
        if not self.program.running():
            self.start()
            return
        for _ in range(8):
            left = [(w, self.x.caption(w)) for w in self.x.windows('.')]
            left = [(w, c) for w, c in left if c and not re.match(MAIN, c)]
            if not left:
                break
            window, caption = left[-1]
            try:
                self.x.focus(window)
                if re.match(ANY_EDIT, caption):
                    self.x.keys('alt+x')
                    wait_until(lambda: self.x.windows(WARNING) or window not in self.x.windows(ANY_EDIT), 2, '')
                    if self.x.windows(WARNING):
                        self.x.focus(self.x.windows(WARNING)[-1])
                        self.x.keys('alt+y')  # exit without updating
                else:
                    self.x.keys('Escape')
                wait_until(lambda: window not in self.x.windows('.'), 2, '')
            except Failure:
                pass
        else:
            self.restart()
            return
        try:
            self.main()
            self.x.keys('Escape')  # an editor left open in the viewer
        except Failure:
            self.restart()


class Results:
    """One line per scenario; a picture of the screen for each that failed."""

    def __init__(self, x, folder):
        self.x, self.folder, self.outcomes = x, folder, []

    def forget_pictures(self, names):
        for name in names:
            try:
                os.remove(os.path.join(self.folder, name + '.png'))  # from an earlier run
            except OSError:
                pass

    def picture(self, name):
        path = os.path.join(self.folder, name + '.png')
        try:
            self.x.screenshot(path)
            return path
        except Failure:
            return None

    def record(self, name, problem=None, picture=None):
        if problem is None:
            print('PASS %s' % name, flush=True)
        else:
            print('FAIL %s: %s%s' % (name, problem, ' [%s]' % picture if picture else ''), flush=True)
        self.outcomes.append(problem is None)


def run_scenarios(session, results, scenarios):
    for scenario in scenarios:
        try:
            session.run(scenario)
            results.record(scenario['name'])
        except Failure as e:
            results.record(scenario['name'], str(e), results.picture(scenario['name']))
            session.recover()


# ---------------------------------------------------------------- a bad last catalogue

def run_bad_last_database(build, x, home, log_path, results):
    """Start-up with "Last Database" naming a file of random bytes: after the messages and a
    cancelled open dialog the program opens its default catalogue (or ends with a
    message); it does not ask again and again, leaves the file as it was and keeps the
    bad name out of the last-files list."""
    name = 'bad-last-database'
    bad_dir = os.path.join(home.root, 'videos')
    os.makedirs(bad_dir, exist_ok=True)
    bad = os.path.join(bad_dir, 'FAKE.DBF')
    noise = bytearray(random.Random(97).randbytes(4096))
    noise[28] = 0x01  # the byte the production-index flag would take
    with open(bad, 'wb') as f:
        f.write(noise)
    home.write_settings(Last_Database=bad)
    program = Program(build, x, home, log_path)
    program.start()
    problems, picture = [], None
    try:
        drive_bad_start(x, home, program)
        # The settings file is written as the program closes.
        misc = read_profile(home.settings_path())
        listed = [k for k, v in misc.items() if k.startswith('Last File') and 'FAKE' in v.upper()]
        if listed:
            problems.append('FAKE.DBF is in the last-files list (%s)' % ', '.join(listed))
    except (Failure, OSError) as e:
        problems.append(str(e))
        picture = results.picture(name)
    finally:
        program.stop()
    # Whatever happened on the screen, the bad file stays as it was.
    with open(bad, 'rb') as f:
        if f.read() != bytes(noise):
            problems.append('FAKE.DBF was changed')
    results.record(name, '; '.join(problems) if problems else None, picture)


def drive_bad_start(x, home, program):
    """Answers the messages, cancels the open dialog once and closes the main window."""
    errors = dialogs = 0
    deadline = time.monotonic() + 30
    main = None
    while main is None and program.running():
        if time.monotonic() > deadline:
            raise Failure('neither a catalogue opened nor the program ended within 30 s')
        boxes = x.windows('^Error$')
        opens = x.windows('^Open Database File$')
        if boxes:
            errors += 1
            if errors > 4:
                raise Failure('an error message came %d times' % errors)
            x.focus(boxes[-1])
            x.keys('Return')
            wait_until(lambda: boxes[-1] not in x.windows('^Error$'), WINDOW_TIMEOUT, 'an error message stayed')
        elif opens:
            dialogs += 1
            if dialogs > 1:
                raise Failure('the open dialog came back after Cancel (after %d error messages)' % errors)
            x.focus(opens[-1])
            x.keys('Escape')
            x.wait_gone('^Open Database File$')
        else:
            found = x.windows(MAIN)
            main = found[-1] if found else None
            if main is None:
                time.sleep(POLL)
    if errors == 0:
        raise Failure('no error message about the bad catalogue')
    if main is not None:
        caption = x.caption(main)
        if caption != 'Kestrova Videos 97 (MASTER)':
            raise Failure('the main window shows %r' % caption)
        if len(read_records_settled(home.catalogue('MASTER'))) != 0:
            raise Failure('the default catalogue is not empty')
        x.close(main)
    try:
        program.process.wait(WINDOW_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failure('the program did not end')
    if program.process.returncode != 0:
        raise Failure('the program ended with status %d' % program.process.returncode)


# ---------------------------------------------------------------- set-up

def seed(build, home):
    cli = os.path.join(build, 'cli', 'kestrova-cli')

    def run(*args):
        done = subprocess.run([cli] + list(args), capture_output=True, text=True)
        if done.returncode != 0:
            raise Failure('kestrova-cli %s failed: %s' % (args[0], done.stderr.strip()))
    for name, records in SEEDS.items():
        path = home.catalogue(name)
        run('new', path)
        for record in records:
            values = dict(ListPrice=0, PurchPrice=0, CheckOut='No', Viewed='No', **record)
            run('add', path, *('%s=%s' % kv for kv in values.items()))
    # The viewer edits in place; the catalogue keeps the default sort order (Star 1).
    with open(os.path.join(home.program_dir, 'MASTER.INI'), 'wb') as f:
        f.write(b'[Grid Options]\r\nField Editing=Yes\r\n')
    with open(os.path.join(home.program_dir, 'OSCAR.LST'), 'wb') as f:
        f.write(''.join(e + '\r\n' for e in OSCAR_LIST).encode('cp1252'))
    home.write_settings(Main_Window_Width=1000, Main_Window_Height=740)


def missing_tools():
    missing = [t for t in ('xdotool', 'openbox', 'wmctrl', 'xwininfo', 'xprop', 'import') if not shutil.which(t)]
    if importlib.util.find_spec('dbfread') is None:
        missing.append('dbfread (python3-dbfread, for /usr/bin/python3)')
    return missing


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--build', required=True, help='the build folder')
    parser.add_argument('--shots', help='folder for the documentation pictures')
    parser.add_argument('--keep', action='store_true', help='keep the temporary home')
    parser.add_argument('--only', help='run only the scenarios whose names match this pattern')
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    shots = os.path.abspath(args.shots) if args.shots else None
    failures_dir = os.path.join(build, 'e2e-screenshots')

    if not shutil.which('Xvfb'):
        print('end-to-end tests skipped: no X server to start (Xvfb is missing; package xvfb)')
        return 77
    missing = missing_tools()
    if missing:
        print('end-to-end tests cannot run, missing: ' + ', '.join(missing))
        return 1
    for f in (os.path.join(build, 'app', 'kestrova-videos'), os.path.join(build, 'cli', 'kestrova-cli')):
        if not os.access(f, os.X_OK):
            print('end-to-end tests cannot run: %s is not built' % f)
            return 1

    # A timeout of the caller ends the run through the clean-up below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    def chosen(name):
        return not args.only or re.search(args.only, name)

    tmp = tempfile.mkdtemp(prefix='kv-e2e-')
    x = Display(tmp)
    results = Results(x, failures_dir)
    results.forget_pictures([n for n in [s['name'] for s in SCENARIOS] + ['bad-last-database'] if chosen(n)]
                            + ['start-up', 'set-up'])
    session = None
    started = time.monotonic()
    try:
        x.start()
        home = Home(os.path.join(tmp, 'home'))
        seed(build, home)
        session = Session(build, x, home, shots, os.path.join(tmp, 'program.log'))
        scenarios = [s for s in SCENARIOS if chosen(s['name'])]
        if scenarios:
            try:
                session.start()
            except Failure as e:
                results.record('start-up', str(e), results.picture('start-up'))
            else:
                run_scenarios(session, results, scenarios)
            session.program.stop()
        if chosen('bad-last-database'):
            run_bad_last_database(build, x, Home(os.path.join(tmp, 'home-bad')),
                                  os.path.join(tmp, 'program-bad.log'), results)
    except Failure as e:
        results.record('set-up', str(e))
    finally:
        if session:
            session.program.stop()
        x.stop()
        if args.keep:
            print('temporary home kept in %s' % tmp)
        else:
            shutil.rmtree(tmp, ignore_errors=True)
    outcomes = results.outcomes
    print('run time %.0f s' % (time.monotonic() - started))
    print('%d passed, %d failed' % (outcomes.count(True), outcomes.count(False)))
    return 0 if outcomes and all(outcomes) else 1


if __name__ == '__main__':
    sys.exit(main())
