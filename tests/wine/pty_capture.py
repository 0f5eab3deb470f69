#!/usr/bin/env python3
"""A pseudo-terminal standing in for a printer: writes the slave's path to PATH_FILE, then keeps
everything written to it in OUT_FILE until STOP_FILE exists and the line has been quiet for half a
second (or 120 s have passed)."""
import os
import pty
import select
import sys
import time
import tty

path_file, out_file, stop_file = sys.argv[1:4]
master, slave = pty.openpty()
tty.setraw(slave)  # no line discipline of our own: the bytes as the program sent them
with open(path_file + ".tmp", "w") as f:
    f.write(os.ttyname(slave))
os.rename(path_file + ".tmp", path_file)

data = bytearray()
deadline = time.monotonic() + 120
quiet_since = time.monotonic()
while time.monotonic() < deadline:
    ready, _, _ = select.select([master], [], [], 0.1)
    if ready:
        try:
            chunk = os.read(master, 65536)
        except OSError:
            chunk = b""
        if chunk:
            data += chunk
            quiet_since = time.monotonic()
            continue
    if os.path.exists(stop_file) and time.monotonic() - quiet_since > 0.5:
        break
with open(out_file, "wb") as f:
    f.write(data)
