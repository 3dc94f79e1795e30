#!/usr/bin/python3
"""Drops files on an X window the way a file manager does (the XDND protocol, version 5).

Usage: xdnd_drop.py WINDOW_ID PATH...   (WINDOW_ID as xdotool prints it)
Exits 0 once the target said it finished the drop, 1 when it refused or did not answer.
"""
import sys
import time
import urllib.parse

from Xlib import X, display, protocol


def main():
    target_id = int(sys.argv[1], 0)
    uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[2:]).encode()
    d = display.Display()
    atom = lambda name: d.intern_atom(name)
    uri_list, selection, action = atom("text/uri-list"), atom("XdndSelection"), atom("XdndActionCopy")
    root = d.screen().root
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(selection, X.CurrentTime)
    target = d.create_resource_object("window", target_id)
    geometry = target.get_geometry()
    centre = root.translate_coords(target, geometry.width // 2, geometry.height // 2)
    x, y = centre.x, centre.y

    def send(name, data):
        data = (data + [0] * 5)[:5]
        event = protocol.event.ClientMessage(window=target, client_type=atom(name),
                                             data=(32, data))
        target.send_event(event)
        d.flush()

    send("XdndEnter", [source.id, 5 << 24, uri_list])
    send("XdndPosition", [source.id, 0, (x << 16) | y, X.CurrentTime, action])
    deadline = time.time() + 10
    dropped = False
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            continue
        event = d.next_event()
        if event.type == X.ClientMessage:
            name = d.get_atom_name(event.client_type)
            if name == "XdndStatus" and not dropped:
                if not event.data[1][1] & 1:
                    print("xdnd_drop: the window does not take the drop", file=sys.stderr)
                    return 1
                send("XdndDrop", [source.id, 0, X.CurrentTime])
                dropped = True
            elif name == "XdndFinished":
                return 0
        elif event.type == X.SelectionRequest:
            requestor = event.requestor
            requestor.change_property(event.property, event.target, 8, uris)
            reply = protocol.event.SelectionNotify(time=event.time, requestor=requestor,
                                                   selection=event.selection,
                                                   target=event.target, property=event.property)
            requestor.send_event(reply)
            d.flush()
    print("xdnd_drop: no answer from the window", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
