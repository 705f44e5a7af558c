#!/usr/bin/python3
"""The real program under a virtual X server, read as a screen reader reads it (AT-SPI):
every control of the main window, the edit window and the Reports window that can take the
focus has a name. Exits 77 (skipped) where Xvfb, a D-Bus daemon or pyatspi is missing.

Usage: atspi_names.py BUILD_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
# Parts of a grid or list: their names are their contents, which may be empty.
ITEM_ROLES = {'table cell', 'list item', 'column header', 'row header', 'tree item'}
CONTAINER_ROLES = {'table', 'tree table', 'list', 'tree'}


def unnamed(acc, pyatspi, path, found):
    try:
        role = acc.getRoleName()
        states = acc.getState()
        name = (acc.name or '').strip()
    except Exception:  # an object that went away while walking
        return
    here = path + '/' + role
    if (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
            and role not in ITEM_ROLES and not name):
        found.append(here)
    if role in CONTAINER_ROLES:
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            unnamed(child, pyatspi, here + ('(%s)' % name if name else ''), found)


def program(pyatspi, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == 'kestrova-videos':
                return app
        time.sleep(0.5)
    return None


def windows(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount)]


def wait_for_window(app, title, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        for w in windows(app):
            if w is not None and title in (w.name or ''):
                return w
        time.sleep(0.5)
    return None


def main():
    build = os.path.abspath(sys.argv[1])
    for tool in ('Xvfb', 'dbus-daemon', 'xdotool'):
        if not shutil.which(tool):
            print('%s is missing: skipped' % tool)
            return SKIP
    try:
        import gi  # noqa: F401
    except ImportError:
        print('python3-gi is missing: skipped')
        return SKIP
    home = tempfile.mkdtemp(prefix='kv-atspi-')
    processes = []
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + '/config', XDG_DATA_HOME=home + '/data',
               XDG_RUNTIME_DIR=home + '/run')
    for d in ('config/kestrova-videos', 'data/kestrova-videos', 'run'):
        os.makedirs(os.path.join(home, d))
    os.chmod(home + '/run', 0o700)
    try:
        cli = os.path.join(build, 'cli', 'kestrova-cli')
        db = os.path.join(home, 'data', 'kestrova-videos', 'MASTER.DBF')
        subprocess.run([cli, 'new', db], env=env, check=True)
        subprocess.run([cli, 'add', db, 'Title=Casablanca', 'Star1=Humphrey Bogart', 'Year=1942'], env=env, check=True)
        with open(os.path.join(home, 'config', 'kestrova-videos', 'QVRVID.INI'), 'w', newline='') as ini:
            ini.write('[Misc]\r\nShow Tips=No\r\nMain Window Left=0\r\nMain Window Top=0\r\n')

        number = 140 + os.getpid() % 100
        processes.append(subprocess.Popen(['Xvfb', ':%d' % number, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        env['DISPLAY'] = ':%d' % number
        bus = subprocess.run(['dbus-daemon', '--session', '--fork', '--print-address=1', '--print-pid=1'],
                             env=env, capture_output=True, text=True, check=True).stdout.split()
        env['DBUS_SESSION_BUS_ADDRESS'] = bus[0]
        bus_pid = int(bus[1])
        time.sleep(1)
        if shutil.which('openbox'):
            processes.append(subprocess.Popen(['openbox', '--sm-disable'], env=env,
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.environ.update(env)
        try:
            import pyatspi
        except ImportError:
            print('python3-pyatspi is missing: skipped')
            return SKIP

        app_env = dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb')
        failures = []
        # Each window as the program opens it: the main window, then from it by its keys.
        for title, key in (('Kestrova Videos 97', None), ('Edit', 'ctrl+e'), ('Report', 'ctrl+r')):
            process = subprocess.Popen([os.path.join(build, 'app', 'kestrova-videos')], env=app_env, cwd=home,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                app = program(pyatspi)
                if app is None:
                    print('the program never reached the accessibility bus: skipped')
                    return SKIP
                main_window = wait_for_window(app, 'Kestrova Videos 97')
                if main_window is None:
                    failures.append('no main window')
                    continue
                if key:
                    time.sleep(1)
                    subprocess.run(['xdotool', 'key', key], env=env, check=True)
                window = wait_for_window(app, title) if key else main_window
                if key and window is not None and window == main_window:
                    window = None
                if window is None:
                    failures.append('%s: the window was not found' % title)
                    continue
                time.sleep(1)
                found = []
                unnamed(window, pyatspi, '', found)
                print('%s: %d unnamed' % (window.name, len(found)))
                failures += ['%s: unnamed %s' % (window.name, f) for f in found]
            finally:
                process.kill()
                process.wait()
        subprocess.run(['kill', str(bus_pid)])
        for f in failures:
            print('FAIL', f)
        return 1 if failures else 0
    finally:
        for p in processes:
            p.kill()
            p.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
