"""OBS Studio for scripts/obs-test: started with a fresh configuration (its websocket server on),
screenshots of a source, OBS's log and the source's trace, its CPU time, and quitting it. The
environment read below comes from scripts/obs-test."""

import base64
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import obs_frames  # noqa: E402
import obs_ws  # noqa: E402

SCRATCH = os.environ["TOLVEK_SCRATCH"]
PREFIX = os.environ["TOLVEK_PREFIX"]
PLUGIN_DIR = os.environ["TOLVEK_OBS_PLUGIN_DIR"]   # lib/<multiarch>/obs-plugins in PREFIX
DATA_DIR = os.environ["TOLVEK_OBS_DATA_DIR"]       # share/obs/obs-plugins in PREFIX
PORT = int(os.environ.get("TOLVEK_OBS_PORT", "4455"))


class Failed(Exception):
    pass


def log(message):
    print(f"obs-test: {message}", flush=True)


def fail(message):
    raise Failed(message)


class Trace:
    """The source's record of each frame and each block of sound it was handed."""

    FRAME = re.compile(r"^frame (\d+) t (\d+) start (\d+) heard (\d+) peak (\d+) present (\d+)$")
    SOUND = re.compile(r"^sound (\d+) arrived (\d+) frames (\d+) peak ([\d.]+) onset (-?\d+) "
                       r"loud (-?\d+) clock (own|obs)$")

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def frames(self, lines=None):
        out = []
        for line in self.lines() if lines is None else lines:
            m = self.FRAME.match(line)
            if m:
                n, t, start, heard, peak, present = map(int, m.groups())
                out.append({"n": n, "t": t, "start": start, "heard": heard, "peak": peak,
                            "present": present})
        return out

    def sounds(self, lines=None):
        out = []
        for line in self.lines() if lines is None else lines:
            m = self.SOUND.match(line)
            if m:
                out.append({"t": int(m[1]), "arrived": int(m[2]), "frames": int(m[3]),
                            "peak": float(m[4]), "onset": int(m[5]), "loud": int(m[6]),
                            "own_clock": m[7] == "own"})
        return out

    def last_frame(self):
        frames = self.frames()
        return frames[-1] if frames else None

    def wait_frames(self, count, seconds=20):
        """Until the show has rendered `count` frames since it last started."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            last = self.last_frame()
            if last and last["n"] >= count:
                return last
            time.sleep(0.02)
        last = self.last_frame()
        fail(f"only {last['n'] if last else 0} frames rendered, {count} expected")


class Obs:
    """One run of OBS Studio with a configuration folder of its own."""

    def __init__(self, name):
        self.name = name
        self.home = os.path.join(SCRATCH, f"home-{name}")
        self.out_path = os.path.join(SCRATCH, f"obs-{name}.log")
        self.trace = Trace(os.path.join(SCRATCH, f"trace-{name}.log"))
        self.process = None
        self.ws = None

    def start(self, extra_env=None):
        config = os.path.join(self.home, ".config", "obs-studio")
        profile = os.path.join(config, "basic", "profiles", "Tolvek")
        os.makedirs(profile, exist_ok=True)
        os.makedirs(os.path.join(config, "basic", "scenes"), exist_ok=True)
        self.recordings = os.path.join(self.home, "recordings")
        os.makedirs(self.recordings, exist_ok=True)
        # OBS rewrites the file on exit, so it is written before each start. FirstRun keeps the
        # set-up wizard away; the websocket server starts without asking for a password.
        with open(os.path.join(config, "global.ini"), "w") as f:
            f.write("[General]\nFirstRun=true\n\n[Basic]\nProfile=Tolvek\nProfileDir=Tolvek\n"
                    "SceneCollection=Tolvek\nSceneCollectionFile=Tolvek\n\n[OBSWebSocket]\n"
                    f"FirstLoad=false\nServerEnabled=true\nServerPort={PORT}\n"
                    "AuthRequired=false\nAlertsEnabled=false\n")
        # The profile: the show's own size at 30 fps, and recordings without loss (raw sound
        # beside the pictures, so a recording tells what a viewer gets).
        if not os.path.exists(os.path.join(profile, "basic.ini")):
            with open(os.path.join(profile, "basic.ini"), "w") as f:
                f.write("[General]\nName=Tolvek\n\n[Video]\nBaseCX=640\nBaseCY=480\n"
                        "OutputCX=640\nOutputCY=480\nFPSType=0\nFPSCommon=30\n\n"
                        f"[SimpleOutput]\nRecQuality=Lossless\nFilePath={self.recordings}\n")
        env = dict(os.environ, HOME=self.home, OBS_PLUGINS_PATH=PLUGIN_DIR,
                   OBS_PLUGINS_DATA_PATH=DATA_DIR, TOLVEK_OBS_TRACE=self.trace.path,
                   LIBGL_ALWAYS_SOFTWARE="1")
        env.pop("TOLVEK_PLUGIN", None)
        env.update(extra_env or {})
        self.out = open(self.out_path, "a")
        command = ["obs", "--multi", "--profile", "Tolvek", "--collection", "Tolvek"]
        self.process = subprocess.Popen(command, env=env, stdout=self.out,
                                        stderr=subprocess.STDOUT, cwd=self.home)
        try:
            self.ws = obs_ws.connect(PORT, seconds=60)
        except Exception as error:
            fail(f"OBS's websocket did not answer: {error}")
        return self

    def call(self, request, **data):
        return self.ws.call(request, **data)

    def log_lines(self, pattern=None):
        with open(self.out_path, errors="replace") as f:
            lines = [line.rstrip("\n") for line in f if "[quenari-tolvek]" in line]
        return [line for line in lines if pattern is None or re.search(pattern, line)]

    def wait_log(self, pattern, seconds=15, after=0):
        """The first of our log lines past the first `after` that matches."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            lines = self.log_lines()[after:]
            for line in lines:
                if re.search(pattern, line):
                    return line
            if self.process.poll() is not None:
                fail(f"OBS ended (status {self.process.returncode}) while waiting for: {pattern}")
            time.sleep(0.05)
        fail(f"OBS's log never said: {pattern}")

    def screenshot(self, source, path, width=None, height=None):
        data = {"sourceName": source, "imageFormat": "png"}
        if width:
            data.update(imageWidth=width, imageHeight=height)
        image = self.call("GetSourceScreenshot", **data)["imageData"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(image.split(",", 1)[1]))
        return obs_frames.read_png(path)

    def cpu_ticks(self):
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])  # utime + stime

    def cpu_ticks_by_thread(self):
        """CPU ticks of OBS's threads in groups: Mesa's llvmpipe (drawing on the CPU), OBS's
        graphics thread (the sources' ticks and renders), its main thread (the Qt window), the
        rest."""
        groups = {"llvmpipe": 0, "graphics": 0, "main": 0, "other": 0}
        task = f"/proc/{self.process.pid}/task"
        for tid in os.listdir(task):
            try:
                with open(f"{task}/{tid}/stat") as f:
                    text = f.read()
            except OSError:
                continue  # a thread that has just ended
            name = text[text.index("(") + 1:text.rindex(")")]
            fields = text.rsplit(")", 1)[1].split()
            ticks = int(fields[11]) + int(fields[12])
            if name.startswith("llvmpipe"):
                groups["llvmpipe"] += ticks
            elif name.startswith("libobs: graphic"):
                groups["graphics"] += ticks
            elif tid == str(self.process.pid):
                groups["main"] += ticks
            else:
                groups["other"] += ticks
        return groups

    def main_window(self):
        """OBS's main window: the largest shown window of the process with OBS's title."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", "^OBS [0-9]"],
                               capture_output=True, text=True).stdout.split()
        best, area = None, 0
        for window in found:
            shape = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                                   capture_output=True, text=True).stdout
            size = dict(line.split("=", 1) for line in shape.split() if "=" in line)
            a = int(size.get("WIDTH", 0)) * int(size.get("HEIGHT", 0))
            if a > area:
                best, area = window, a
        return best

    def quit(self, seconds=40):
        """Quits OBS as a user does: its main window closed through the window manager (openbox
        turns Alt+F4 into the window's close request). Its exit status."""
        if self.ws:
            self.ws.close()
            self.ws = None
        window = self.main_window()
        if window is None:
            fail("OBS's main window is not to be found")
        subprocess.run(["timeout", "5", "xdotool", "windowactivate", "--sync", window],
                       check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "alt+F4"], check=True)
        try:
            status = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            fail(f"OBS did not quit within {seconds} s of its window's close request")
        self.out.close()
        return status

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def faults(path):
    with open(path, errors="replace") as f:
        text = f.read()
    return [line for line in text.splitlines()
            if re.search(r"segmentation|aborted|AddressSanitizer|runtime error|crash",
                         line, re.IGNORECASE)]
