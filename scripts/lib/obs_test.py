"""The checks of scripts/obs-test in the real OBS Studio, driven through its websocket: the show
drawn in a scene equals tolvek render's frames with a fixed clock in silence, follows a tone and
rests in silence, hides and shows, a second source says why it does not run a show of its own,
removing and adding work, a missing plug-in or data pack is said in the log and on the frame,
and OBS quits with Quit called; then OBS's CPU with and without the show and the offset between
a click and the first frame that shows it."""

import math
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing of the test's own left in the tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import obs_frames  # noqa: E402
from obs_client import PREFIX, SCRATCH, Failed, Obs, fail, faults, log  # noqa: E402

CLOCK = 1234567890
SOURCE = "Quenari Tolvek"
SHOTS = os.environ.get("TOLVEK_SHOTS") or None
# "1": the checks and the figures, "0": the checks alone, "only": the figures alone.
MEASURE = os.environ.get("TOLVEK_MEASURE", "1")
TOLVEK = os.path.join(PREFIX, "bin", "tolvek")
INSTALLED_PLUGIN = os.path.join(PREFIX, "lib", "tolvek", "vis_tolvek.so")
# Rows where the show's two horizontal traces rest in silence (byte 0 drawn at 70 + 128 and
# 210 + 128, two pixels thick), while the frame counter is below 400 (the trace phase).
RESTING_ROWS = (198, 199, 338, 339)
TRACE_PHASE_END = 400
# The notice box's colour (dark red), as the source draws it.
NOTICE_BOX = (0x40, 0x1C, 0x1C)


def wav(name):
    return os.path.join(SCRATCH, name)


def keep(picture_path, name):
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        shutil.copy(picture_path, os.path.join(SHOTS, name))


class References:
    """tolvek render's frames of the fixed-clock show in silence."""

    def __init__(self, last):
        self.folder = os.path.join(SCRATCH, "reference")
        subprocess.run([TOLVEK, "render", "--silence", "--clock", str(CLOCK), "--frames",
                        f"1-{last}", "--png-dir", self.folder], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.last = last

    def frame(self, k):
        return obs_frames.read_png(os.path.join(self.folder, f"frame-{k:06d}.png"))

    def match(self, shot, oldest, newest):
        """The frame the screenshot shows, searched back from the newest one presented before
        it came back to the oldest one that may still have been on the texture when asked."""
        best = None
        for k in range(min(newest, self.last), max(0, oldest - 1), -1):
            differing, largest = obs_frames.difference(shot, self.frame(k))
            if best is None or differing < best[1]:
                best = (k, differing, largest)
            if differing == 0:
                break
        return best


def resting_share(shot):
    """How much of the resting rows is one colour: 1.0 when both traces lie flat."""
    share = 1.0
    colours = set()
    for y in RESTING_ROWS:
        row = [shot.rgb[(y * shot.width + x) * 3:(y * shot.width + x) * 3 + 3]
               for x in range(shot.width)]
        common = max(set(row), key=row.count)
        colours.add(common)
        share = min(share, row.count(common) / len(row))
    return share if len(colours) == 1 else 0.0


def band_difference(a, b):
    """Pixels that differ between two screenshots inside the bands the traces sweep."""
    return obs_frames.difference(a.crop(0, 70, a.width, 396), b.crop(0, 70, b.width, 396))[0]


def shows_notice(shot):
    x, y = shot.width // 2, 20
    return tuple(shot.rgb[(y * shot.width + x) * 3:(y * shot.width + x) * 3 + 3]) == NOTICE_BOX


def shows_show(obs, source, name):
    """The source draws the show: frames rendered, no notice, a picture that is not blank.
    (The show goes on from where the last one stopped, so its frame cannot be foretold.)"""
    obs.trace.wait_frames(10)
    shot = obs.screenshot(source, os.path.join(SCRATCH, name + ".png"))
    return not shows_notice(shot) and obs_frames.colours(shot) >= 2


def create_source(obs, name, scene="Show", **settings):
    obs.call("CreateInput", sceneName=scene, inputName=name, inputKind="quenari_tolvek_source",
             inputSettings=settings)


def check_silence_frames(obs, references):
    for target in (30, 70, 110):
        # A tick's turns come before its upload, so the texture may still hold the frames of the
        # tick before the newest one traced.
        oldest = obs.trace.wait_frames(target)["present"] - 4
        path = os.path.join(SCRATCH, f"silence-{target}.png")
        shot = obs.screenshot(SOURCE, path)
        newest = obs.trace.last_frame()["present"]
        if oldest > references.last:
            fail(f"the show had passed frame {references.last}, the last one rendered to compare "
                 f"with, before the screenshot of frame {target} was taken (frames {oldest} to "
                 f"{newest}): OBS was held up that long")
        k, differing, largest = references.match(shot, oldest, newest)
        if differing:
            fail(f"the screenshot (taken while frames {oldest} to {newest} were presented) is "
                 f"nearest to frame {k} of tolvek render, but {differing} pixels differ "
                 f"(largest channel difference {largest})")
        share = resting_share(shot)
        if share < 0.99:
            fail(f"in silence the traces do not lie flat ({share:.2f} of the resting rows)")
        log(f"screenshot {shot.width}x{shot.height} equals frame {k} of tolvek render --silence "
            f"--clock {CLOCK}: 0 of {shot.width * shot.height} pixels differ, largest channel "
            f"difference 0 (asked for while frame {oldest + 4} was the newest, back at {newest})")
        if target == 110:
            keep(path, "obs-source-silence.png")
    log("in silence both traces lie flat along their resting rows")


def shoot_window(obs, name, dialog=None):
    """OBS's window (and a dialog of it over it) as a picture for the documentation, once it has
    been placed and repainted whole."""
    window = obs.main_window()
    if window is None:
        return
    subprocess.run(["xdotool", "windowmove", window, "40", "30", "windowsize", window, "1200",
                    "740"], check=False)
    if dialog is not None:
        obs.call(dialog, inputName=SOURCE)
    time.sleep(1.5)
    subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name)], check=False)
    if dialog is not None:
        subprocess.run(["xdotool", "key", "--clearmodifiers", "Escape"], check=False)
        time.sleep(0.5)


def check_tone(obs):
    # The tune (made with its scene item hidden): 0-2 s a steady tone (0.6 of full scale), 2-4 s
    # beats falling from 0.8 every half second, then silence; it starts when its item is shown.
    mark = len(obs.log_lines())
    obs.call("SetInputSettings", inputName=SOURCE, inputSettings={"audio_source": "Tune"})
    obs.wait_log(f"source '{SOURCE}' listens to 'Tune'", after=mark)
    tune_item = obs.call("GetSceneItemId", sceneName="Show", sourceName="Tune")["sceneItemId"]
    lines_before = len(obs.trace.lines())
    obs.call("SetSceneItemEnabled", sceneName="Show", sceneItemId=tune_item, sceneItemEnabled=True)
    deadline = time.monotonic() + 5
    start = None
    while start is None and time.monotonic() < deadline:
        sounds = obs.trace.sounds(obs.trace.lines()[lines_before:])
        heard = [s for s in sounds if s["peak"] > 0.1]
        start = heard[0]["t"] if heard else None
        time.sleep(0.02)
    if start is None:
        fail("the tune never reached the source")

    def wait_heard(seconds):
        while True:
            last = obs.trace.last_frame()
            if last["heard"] >= start + int(seconds * 1e9):
                return last
            if time.monotonic() > deadline + 20:
                fail(f"no frame heard the tune's {seconds} s")
            time.sleep(0.01)

    shots = []
    for i, at in enumerate((0.5, 0.9)):
        last = wait_heard(at)
        path = os.path.join(SCRATCH, f"tone-{i}.png")
        shots.append((obs.screenshot(SOURCE, path), last["n"], path))
    keep(shots[0][2], "obs-source-tone.png")
    if SHOTS:
        shoot_window(obs, "obs-window.png")
    for shot, n, _ in shots:
        if n >= TRACE_PHASE_END:
            fail(f"the tone's screenshots came at frame {n}, past the trace phase")
        share = resting_share(shot)
        if share > 0.5:
            fail(f"with a tone the traces still lie flat ({share:.2f} of the resting rows)")
    moved = band_difference(shots[0][0], shots[1][0])
    if moved < 2000:
        fail(f"the traces did not move with the tone ({moved} pixels changed in their bands)")
    log(f"with a tone the traces leave their resting rows and move ({moved} pixels of their "
        "bands changed between two screenshots 0.4 s apart)")

    last = wait_heard(4.4)
    path = os.path.join(SCRATCH, "after-tone.png")
    shot = obs.screenshot(SOURCE, path)
    if last["n"] < TRACE_PHASE_END:
        share = resting_share(shot)
        if share < 0.99:
            fail(f"after the tune the traces do not rest ({share:.2f} of the resting rows)")
        log("once the tune has ended the traces rest again")
    wait_heard(4.9)

    # The waveform of each frame against the tune at the moment it was heard: the steady tone's
    # level, each beat's fall (0.8 * 127 * e^(-6 t) for t into the beat), then silence. The
    # tune's start on the ring's timeline comes from where its beats begin (the first sample
    # past 0.7 of full scale, within a millisecond of 2 s): the media source may leave out
    # its first milliseconds.
    loud = [s for s in obs.trace.sounds(obs.trace.lines()[lines_before:]) if s["loud"] >= 0]
    if not loud:
        fail("the tune's beats never reached the source")
    start = loud[0]["t"] + loud[0]["loud"] * 1_000_000_000 // 48000 - 2_000_000_000
    frames = [f for f in obs.trace.frames() if f["heard"] >= start]
    steady, beats, quiet = [], [], []
    for f in frames:
        s = (f["heard"] - start) / 1e9
        if 0.05 < s < 1.95:
            steady.append(abs(f["peak"] - 0.6 * 127))
        elif 2.05 < s < 3.95:
            beats.append((f["peak"], 0.8 * 127 * math.exp(-6 * ((s - 2.0) % 0.5))))
        elif s > 4.3:
            quiet.append(f["peak"])
    if len(steady) < 40 or len(beats) < 40 or len(quiet) < 10:
        fail(f"too few frames heard the tune ({len(steady)} steady, {len(beats)} beats, "
             f"{len(quiet)} after)")
    steady_error = sum(steady) / len(steady)
    beat_error = sum(abs(p - e) for p, e in beats) / len(beats)
    loud = sum(1 for p, _ in beats if p >= 60)
    soft = sum(1 for p, _ in beats if p <= 20)
    if steady_error > 3 or beat_error > 6 or loud < 5 or soft < 5 or max(quiet) != 0:
        fail(f"the waveform does not follow the tune: steady off by {steady_error:.1f}, beats "
             f"off by {beat_error:.1f} ({loud} loud, {soft} soft), after it {max(quiet)}")
    late = sorted((f["start"] - f["heard"]) / 1e6 for f in frames)
    log(f"the waveform follows the tune heard: {len(steady)} frames of the steady tone off by "
        f"{steady_error:.1f} of 127, {len(beats)} frames of beats off by {beat_error:.1f} "
        f"({loud} loud, {soft} soft), {len(quiet)} frames after it all silent; each frame's "
        f"sound is the newest OBS had, typically {late[len(late) // 2]:.0f} ms (95 % within "
        f"{late[len(late) * 95 // 100]:.0f} ms) before the moment the plug-in asks for (the "
        "frame's video time + latencyMs)")


def check_hide_show(obs):
    item = obs.call("GetSceneItemId", sceneName="Show", sourceName=SOURCE)["sceneItemId"]
    mark = len(obs.log_lines())
    obs.call("SetSceneItemEnabled", sceneName="Show", sceneItemId=item, sceneItemEnabled=False)
    rested = obs.wait_log(r"hidden: the show rests after (\d+) frames", after=mark)
    n0 = obs.trace.last_frame()["n"]
    time.sleep(1.0)
    n1 = obs.trace.last_frame()["n"]
    if n1 != n0:
        fail(f"Render was called while the source was hidden ({n0} then {n1} frames)")
    obs.call("SetSceneItemEnabled", sceneName="Show", sceneItemId=item, sceneItemEnabled=True)
    obs.wait_log(f"source '{SOURCE}' shown", after=mark)
    obs.trace.wait_frames(n1 + 20)
    inits = obs.log_lines(r"Init: ")
    if len(inits) != 1:
        fail(f"showing the source again started the show anew: {inits}")
    log(f"hidden, the show rests (no Render for 1 s; {rested.split('] ')[1]}); shown again, it "
        "goes on where it was, with no second Init")


def media_state(obs, name):
    return obs.call("GetMediaInputStatus", inputName=name)["mediaState"]


def check_keys(obs):
    """Keys typed into OBS's Interact window of the source reach the show, which hands them to
    its host: C pauses and resumes the media source it listens to, Down lowers its volume, P
    saves the frame, Escape ends the show and showing the source again starts it anew."""
    obs.call("SetInputSettings", inputName=SOURCE, inputSettings={"audio_source": "Quiet"})
    obs.wait_log(f"source '{SOURCE}' listens to 'Quiet'")
    obs.call("OpenInputInteractDialog", inputName=SOURCE)
    window = None
    deadline = time.monotonic() + 10
    while window is None and time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Interact"],
                               capture_output=True, text=True).stdout.split()
        window = found[0] if found else None
        time.sleep(0.1)
    if window is None:
        fail("OBS's Interact window did not open")
    subprocess.run(["timeout", "5", "xdotool", "windowactivate", "--sync", window], check=False)
    # A click in its view gives the view (and so the source) the keys.
    subprocess.run(["xdotool", "mousemove", "--window", window, "200", "150", "click", "1"],
                   check=True)
    time.sleep(0.3)

    def key(name, pattern):
        mark = len(obs.log_lines())
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
        return obs.wait_log(pattern, after=mark)

    if media_state(obs, "Quiet") != "OBS_MEDIA_STATE_PLAYING":
        fail("the media source is not playing before the keys")
    key("c", r"key for Pause on 'Quiet'")
    time.sleep(0.3)
    paused = media_state(obs, "Quiet")
    key("c", r"key for Pause on 'Quiet'")
    time.sleep(0.3)
    resumed = media_state(obs, "Quiet")
    if paused != "OBS_MEDIA_STATE_PAUSED" or resumed != "OBS_MEDIA_STATE_PLAYING":
        fail(f"C did not pause and resume the media source ({paused}, then {resumed})")
    key("Down", r"key for VolumeDown to 95 % on 'Quiet'")
    volume = obs.call("GetInputVolume", inputName="Quiet")["inputVolumeMul"]
    if abs(volume - 0.95) > 0.001:
        fail(f"Down left the media source's volume at {volume}")
    saved = key("p", r"the frame was saved as (.*)$").split("saved as ", 1)[1]
    picture = obs_frames.read_png(saved)
    if (picture.width, picture.height) != (640, 480) or obs_frames.colours(picture) < 2:
        fail(f"the saved frame {saved} is not the show's frame")
    key("Escape", r"Quit: the show ended itself")
    time.sleep(0.3)
    path = os.path.join(SCRATCH, "ended.png")
    obs.screenshot(SOURCE, path)
    keep(path, "obs-show-ended.png")
    # The Interact window shows the source too: it closes before the source is hidden.
    for _ in range(5):
        subprocess.run(["timeout", "5", "xdotool", "windowactivate", "--sync", window],
                       check=False)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "alt+F4"], check=True)
        time.sleep(1)
        if subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Interact"],
                          capture_output=True).returncode != 0:
            break
    else:
        fail("OBS's Interact window did not close")
    item = obs.call("GetSceneItemId", sceneName="Show", sourceName=SOURCE)["sceneItemId"]
    mark = len(obs.log_lines())
    obs.call("SetSceneItemEnabled", sceneName="Show", sceneItemId=item, sceneItemEnabled=False)
    time.sleep(0.3)
    obs.call("SetSceneItemEnabled", sceneName="Show", sceneItemId=item, sceneItemEnabled=True)
    obs.wait_log(f"Init: source '{SOURCE}' started the show", after=mark)
    log("keys in OBS's Interact window reach the show and come back as the player's commands: "
        "C paused and resumed the media source, Down lowered its volume to 95 %, P saved the "
        f"frame as {os.path.basename(saved)}, Escape ended the show, and showing the source "
        "again started it anew")


def check_second_source(obs):
    mark = len(obs.log_lines())
    create_source(obs, SOURCE + " 2")
    said = obs.wait_log(f"source '{SOURCE} 2' shows: Another Quenari Tolvek source", after=mark)
    time.sleep(0.3)
    path = os.path.join(SCRATCH, "second-source.png")
    shot = obs.screenshot(SOURCE + " 2", path)
    keep(path, "obs-second-source.png")
    if not shows_notice(shot):
        fail("the second source's frame does not show its notice")
    n0 = obs.trace.last_frame()["n"]
    obs.trace.wait_frames(n0 + 20)
    log("a second source shows on its frame and says in the log why it runs no show of its own: "
        + said.split("shows: ", 1)[1][:96] + "...")


def check_desktop_audio(obs, source):
    """A source left at its defaults follows the desktop audio: here the monitor of the private
    PulseAudio server's null sink, into which the test plays the tune."""
    obs.wait_log(f"source '{source}' listens to the desktop audio")
    player = subprocess.Popen(["paplay", wav("tune.wav")])
    try:
        deadline = time.monotonic() + 6
        while time.monotonic() < deadline:
            if any(f["peak"] >= 40 for f in obs.trace.frames()[-20:]):
                break
            time.sleep(0.05)
        else:
            fail("the tune played to the desktop did not reach the show")
    finally:
        player.kill()
        player.wait()
    log("a source at its defaults follows the desktop audio: a tune played to the desktop "
        "(a private PulseAudio server's null sink) reached the show's waveform")


def check_remove_add(obs):
    mark = len(obs.log_lines())
    obs.call("RemoveInput", inputName=SOURCE)
    quit_line = obs.wait_log(r"Quit \(its source was removed\) after \d+ frames; windows (\d+), "
                             r"display objects (\d+)", after=mark)
    if not quit_line.endswith("windows 1, display objects 0"):
        fail(f"removing the source left the show's objects behind: {quit_line}")
    obs.wait_log(f"Init: source '{SOURCE} 2' started the show", after=mark)
    if not shows_show(obs, SOURCE + " 2", "taken-over"):
        fail("the second source did not take the show over")
    log("the source removed: Quit, nothing left (windows 1, display objects 0); the second "
        "source took the show over")
    check_desktop_audio(obs, SOURCE + " 2")
    mark = len(obs.log_lines())
    obs.call("RemoveInput", inputName=SOURCE + " 2")
    obs.wait_log(r"Quit \(its source was removed\).*windows 1, display objects 0$", after=mark)
    create_source(obs, SOURCE, audio_source="Quiet")
    obs.wait_log(f"Init: source '{SOURCE}' started the show", after=mark)
    if not shows_show(obs, SOURCE, "added-again"):
        fail("the source added again shows no show")
    log("removed and added again, the source starts a new show")


def check_missing_files(obs):
    missing = os.path.join(SCRATCH, "missing", "vis_tolvek.so")
    mark = len(obs.log_lines())
    obs.call("SetInputSettings", inputName=SOURCE, inputSettings={"plugin_path": missing})
    line = obs.wait_log(f"{missing}: cannot load the plug-in", after=mark)
    time.sleep(0.3)
    path = os.path.join(SCRATCH, "missing-plugin.png")
    shot = obs.screenshot(SOURCE, path)
    keep(path, "obs-missing-plugin.png")
    if not shows_notice(shot):
        fail("a missing plug-in is not said on the frame")
    obs.call("GetVersion")
    log("a missing plug-in is said in OBS's log (" + line.split("': ", 1)[1][:70] +
        "...) and on the frame; OBS goes on")

    # The plug-in alone, without its data pack beside it.
    bare = os.path.join(SCRATCH, "bare")
    os.makedirs(bare, exist_ok=True)
    shutil.copy(INSTALLED_PLUGIN, bare)
    mark = len(obs.log_lines())
    obs.call("SetInputSettings", inputName=SOURCE,
             inputSettings={"plugin_path": os.path.join(bare, "vis_tolvek.so")})
    line = obs.wait_log(r"the plug-in says: .*" + bare + r"/v_tolvek/.*", after=mark)
    obs.wait_log(f"Init: source '{SOURCE}' started the show", after=mark)
    time.sleep(0.5)
    path = os.path.join(SCRATCH, "missing-data.png")
    shot = obs.screenshot(SOURCE, path)
    keep(path, "obs-missing-data.png")
    if not shows_notice(shot):
        fail("a missing data pack is not said on the frame")
    log("a missing data pack is said in OBS's log (" + line.split("says: ", 1)[1][:72] +
        "...) and on the frame over the show")
    mark = len(obs.log_lines())
    obs.call("SetInputSettings", inputName=SOURCE, inputSettings={"plugin_path": ""})
    obs.wait_log(f"Init: source '{SOURCE}' started the show from {INSTALLED_PLUGIN}", after=mark)


def quit_cleanly(obs):
    inits = len(obs.log_lines(r"Init: "))
    asked = time.monotonic()
    status = obs.quit()
    took = time.monotonic() - asked
    if status != 0:
        fail(f"OBS ended with status {status}")
    lines = obs.log_lines()
    last_init = max(i for i, line in enumerate(lines) if "Init: " in line)
    quits = [line for line in lines[last_init:] if "] Quit (" in line]
    if not quits or not quits[-1].endswith("windows 1, display objects 0"):
        fail("quitting OBS did not call Quit, or left the show's objects behind: "
             f"{quits[-1] if quits else 'no Quit'}")
    with open(obs.out_path, errors="replace") as f:
        text = f.read()
    if "Number of memory leaks: 0" not in text:
        fail("OBS reports memory leaks: " +
             next((line for line in text.splitlines() if "memory leaks" in line), "(none said)"))
    bad = faults(obs.out_path)
    if bad:
        fail("OBS reported a fault: " + bad[0])
    log(f"OBS quit cleanly in {took:.1f} s (status 0, no leaks of its objects) after {inits} "
        f"shows, the last one with {quits[-1].split('] ', 1)[1]}")


def main_session():
    obs = Obs("main").start()
    try:
        loaded = obs.wait_log(r"loaded; the plug-in by default: (.*)$")
        default = loaded.split("by default: ", 1)[1]
        if os.path.realpath(default) != os.path.realpath(INSTALLED_PLUGIN):
            fail(f"the installed source looks for the plug-in at {default}")
        if "quenari_tolvek_source" not in obs.call("GetInputKindList")["inputKinds"]:
            fail("OBS does not list the source")
        log(f"OBS loaded the installed source; it finds the plug-in at {default}")
        video = obs.call("GetVideoSettings")
        if (video["baseWidth"], video["baseHeight"], video["fpsNumerator"]) != (640, 480, 30):
            fail(f"OBS did not take the profile's canvas: {video}")
        obs.call("CreateScene", sceneName="Show")
        obs.call("SetCurrentProgramScene", sceneName="Show")
        obs.call("CreateInput", sceneName="Show", inputName="Quiet", inputKind="ffmpeg_source",
                 inputSettings={"local_file": wav("silence.wav"), "looping": True})
        obs.call("CreateInput", sceneName="Show", inputName="Tune", inputKind="ffmpeg_source",
                 inputSettings={"local_file": wav("tune.wav"), "looping": False},
                 sceneItemEnabled=False)
        references = References(TRACE_PHASE_END)
        create_source(obs, SOURCE, audio_source="Quiet", fixed_clock=True, clock_seconds=CLOCK)
        obs.wait_log(f"Init: source '{SOURCE}' started the show from .*, a frame every 25 ms, "
                     f"listening to 'Quiet', clock fixed at {CLOCK}")
        check_silence_frames(obs, references)
        check_tone(obs)
        check_hide_show(obs)
        check_keys(obs)
        check_second_source(obs)
        check_remove_add(obs)
        check_missing_files(obs)
        if SHOTS:
            shoot_window(obs, "obs-properties.png", dialog="OpenInputPropertiesDialog")
        quit_cleanly(obs)
    finally:
        obs.kill()


def measure_session():
    obs = Obs("measure").start()
    try:
        obs.call("CreateScene", sceneName="Measure")
        obs.call("SetCurrentProgramScene", sceneName="Measure")
        # A click of 1 kHz at every whole second, and a white picture in the same frame of the
        # media file: OBS's own sync of a media source's picture and sound, to set the show by.
        obs.call("CreateInput", sceneName="Measure", inputName="Clicks",
                 inputKind="ffmpeg_source",
                 inputSettings={"local_file": wav("flash.mkv"), "looping": True})
        hz = os.sysconf("SC_CLK_TCK")
        seconds = 20

        shares = {}

        def cpu_share(name):
            t0, c0, g0 = time.monotonic(), obs.cpu_ticks(), obs.cpu_ticks_by_thread()
            time.sleep(seconds)
            span = time.monotonic() - t0
            g1 = obs.cpu_ticks_by_thread()
            shares[name] = {k: (g1[k] - g0[k]) / hz / span for k in g0}
            return (obs.cpu_ticks() - c0) / hz / span

        time.sleep(3)
        without = cpu_share("without")
        # Any 640x480 picture on the canvas costs OBS its drawing (Mesa's llvmpipe draws on the
        # CPU): a still frame of the show as an image source shows how much.
        still = os.path.join(SCRATCH, "still")
        subprocess.run([TOLVEK, "render", "--silence", "--clock", str(CLOCK), "--frames", "1-1",
                        "--png-dir", still], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        obs.call("CreateInput", sceneName="Measure", inputName="Still", inputKind="image_source",
                 inputSettings={"file": os.path.join(still, "frame-000001.png")})
        time.sleep(3)
        picture = cpu_share("picture")
        obs.call("RemoveInput", inputName="Still")

        create_source(obs, SOURCE, scene="Measure", audio_source="Clicks")
        obs.wait_log(f"Init: source '{SOURCE}' started")
        # The media's picture above the show, in its top left corner.
        clicks = obs.call("GetSceneItemId", sceneName="Measure", sourceName="Clicks")
        obs.call("SetSceneItemIndex", sceneName="Measure", sceneItemId=clicks["sceneItemId"],
                 sceneItemIndex=1)
        time.sleep(1)
        lines_before = len(obs.trace.lines())
        # While the show draws its horizontal traces (its first 400 frames), a recording.
        obs.call("StartRecord")
        time.sleep(6)
        recording = obs.call("StopRecord")["outputPath"]
        lines = obs.trace.lines()[lines_before:]
        report_click_offsets(obs.trace.sounds(lines), obs.trace.frames(lines))
        report_recorded_offsets(recording)

        time.sleep(2)
        lines_before = len(obs.trace.lines())
        with_show = cpu_share("show")
        log(f"OBS's CPU, {seconds} s each, 640x480 at 30 fps with the media source playing: "
            f"{100 * without:.1f} % of a core with nothing else, {100 * picture:.1f} % with a "
            f"still 640x480 picture ({100 * (picture - without):+.1f} %), {100 * with_show:.1f} % "
            f"with the show ({100 * (with_show - without):+.1f} %; "
            f"{100 * (with_show - picture):+.1f} % against the still picture)")
        log("the same by OBS's threads (% of a core; nothing else / still picture / show): " +
            "; ".join(f"{group} " + " / ".join(f"{100 * shares[n][group]:.1f}"
                                                for n in ("without", "picture", "show"))
                      for group in ("llvmpipe", "graphics", "main", "other")))
        lines = obs.trace.lines()[lines_before:]
        ticks = [int(line.split()[2]) for line in lines if line.startswith("tick cpu ")]
        frames = obs.trace.frames(lines)
        if ticks and len(frames) > 1:
            span = (frames[-1]["t"] - frames[0]["t"]) / 1e9
            log(f"the source's own work on OBS's video thread (the turns with Render, the "
                f"frame's upload): {sum(ticks) / len(ticks) / 1e3:.0f} us CPU a tick, "
                f"{100 * sum(ticks) / 1e9 / span:.2f} % of a core")
        quit_cleanly(obs)
    finally:
        obs.kill()


def report_click_offsets(sounds, frames):
    """Each click's start (the first sample past 0.25 in the blocks the source was handed, on
    the timeline they were placed on) against the video time of the first frame whose waveform
    shows it."""
    clicks = []
    quiet = True
    for s in sounds:
        if s["onset"] >= 0 and quiet:
            clicks.append(s["t"] + s["onset"] * 1_000_000_000 // 48000)
        quiet = s["peak"] < 0.05
    offsets = []
    for c in clicks:
        shown = next((f for f in frames if f["peak"] >= 40 and f["t"] >= c - 200_000_000), None)
        if shown is not None and shown["t"] - c < 500_000_000:
            offsets.append((shown["t"] - c) / 1e6)
    if len(offsets) < 3:
        fail(f"only {len(offsets)} clicks were seen in the frames")
    clock = ("the media file's own clock, placed from the arrival of the first block the source "
             "saw" if any(s["own_clock"] for s in sounds) else "OBS's clock")
    log(f"in the source's record, a click handed over to the first frame showing it, "
        f"{len(offsets)} clicks: " + " ".join(f"{o:+.0f}" for o in offsets) + f" ms (the sound "
        f"on {clock}, the frame at the video time OBS gives it)")


def report_recorded_offsets(path):
    """In OBS's own recording of the scene (lossless: raw sound, every frame): each click heard,
    the media's white picture of the same moment, and the first frame whose lower trace leaves
    its resting row (row 338: one colour along the row while silent)."""
    pcm = os.path.join(SCRATCH, "recorded.pcm")
    gray = os.path.join(SCRATCH, "recorded.gray")
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", path, "-map", "0:a", "-ac", "1", "-f",
                    "s16le", pcm], check=True)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", path, "-map", "0:v", "-f", "rawvideo",
                    "-pix_fmt", "gray", gray], check=True)
    with open(pcm, "rb") as f:
        sound = f.read()
    samples = [int.from_bytes(sound[i:i + 2], "little", signed=True)
               for i in range(0, len(sound) - 1, 2)]
    clicks, quiet = [], 24000
    for i, v in enumerate(samples):
        if abs(v) > 8192:
            if quiet >= 24000:
                clicks.append(i / 48000)
            quiet = 0
        else:
            quiet += 1
    with open(gray, "rb") as f:
        video = f.read()
    width, height = 640, 480
    count = len(video) // (width * height)

    def white(k):
        base = k * width * height
        return sum(video[base + y * width + x] for y in range(10, 110, 10)
                   for x in range(10, 150, 10)) / 140 > 128

    def trace_moves(k):
        row = video[k * width * height + 338 * width:k * width * height + 339 * width]
        mean = sum(row) / width
        return (sum((v - mean) ** 2 for v in row) / width) ** 0.5 > 15

    rows = []
    for c in clicks:
        near = range(max(0, int(c * 30) - 4), min(count, int(c * 30) + 5))
        flash = next((k for k in near if white(k)), None)
        shown = next((k for k in near if trace_moves(k)), None)
        if flash is not None and shown is not None:
            rows.append((c, flash, shown))
    if len(rows) < 3:
        fail(f"the recording shows only {len(rows)} clicks with their frames")
    to_sound = [(k / 30 - c) * 1000 for c, _, k in rows]
    to_flash = [k - f for _, f, k in rows]
    within = sum(1 for d in to_flash if abs(d) <= 1)
    log(f"in OBS's recording of the scene, {len(rows)} clicks: the first frame showing each is "
        + ", ".join(f"{d:+d}" for d in to_flash) + " frames from the media's own picture of the "
        f"click ({within} within one frame) and " + ", ".join(f"{o:+.0f}" for o in to_sound) +
        " ms from its sound")
    log("(the recording: OBS's lossless preset, raw sound beside every frame; a click is its "
        "first sample past 0.25 after silence, a frame's time its number / 30 s; the trace "
        "shows the click when its resting row stops being one colour)")


def main():
    try:
        if MEASURE != "only":
            main_session()
        if MEASURE != "0":
            measure_session()
    except Failed as failure:
        print(f"obs-test: FAILED: {failure}", file=sys.stderr)
        return 1
    print("obs-test: 1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
