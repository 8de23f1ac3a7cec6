#!/usr/bin/env python3
"""Something in the way of a single-instance name (tests/linux/single_instance_e2e.sh).

  socket_squatter.py stale PATH     a socket file at PATH that nobody listens on, as a crash leaves
  socket_squatter.py hold ADDRESS READY [--no-listen] [--fill] [--lock FILE] [--as USER]
                     [--heard FILE]
      binds ADDRESS (a path, or @NAME: abstract), listens and never accepts, writes its pid to
      READY and stays until killed. --no-listen: binds only. --fill: fills its own backlog, so a
      connect() would block. --lock: flock FILE first, as a live holder does. --as: then runs as
      USER (SO_PEERCRED names it). --heard: accepts after all, appending what is said to FILE.
"""
import argparse
import fcntl
import os
import pwd
import signal
import socket


def unix():
    return socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)


def hold(args):
    address = "\0" + args.address[1:] if args.address.startswith("@") else args.address
    lock = open(args.lock, "a") if args.lock else None
    if lock:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    server = unix()
    if lock and os.path.exists(address):
        os.unlink(address)  # a holder under the lock replaces a file left there, as the program does
    server.bind(address)
    if args.as_user:
        user = pwd.getpwnam(args.as_user)
        os.setgroups([])
        os.setgid(user.pw_gid)
        os.setuid(user.pw_uid)
    waiting = []
    if not args.no_listen:
        server.listen(0)
    while args.fill:
        waiting.append(unix())
        waiting[-1].setblocking(False)
        try:
            waiting[-1].connect(address)
        except BlockingIOError:
            break
    with open(args.ready, "w") as ready:
        ready.write("%d\n" % os.getpid())
    while args.heard:
        connection, _ = server.accept()
        connection.settimeout(2)
        try:
            said = connection.recv(4096)
        except OSError:
            said = b""
        with open(args.heard, "ab") as heard:
            heard.write(said)
        connection.close()
    while True:
        signal.pause()


parser = argparse.ArgumentParser()
commands = parser.add_subparsers(dest="command", required=True)
commands.add_parser("stale").add_argument("path")
holder = commands.add_parser("hold")
holder.add_argument("address")
holder.add_argument("ready")
for flag in ("--no-listen", "--fill"):
    holder.add_argument(flag, action="store_true")
for option in ("--lock", "--heard"):
    holder.add_argument(option)
holder.add_argument("--as", dest="as_user")
arguments = parser.parse_args()
if arguments.command == "stale":
    unix().bind(arguments.path)
else:
    hold(arguments)
