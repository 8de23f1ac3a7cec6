#!/usr/bin/env python3
"""Something in the way of a single-instance name, for tests/linux/single_instance_e2e.sh.

  socket_squatter.py stale PATH
      binds a unix socket at PATH and ends: the file stays, nobody listens (a holder that died).
  socket_squatter.py hold ADDRESS READY [--no-listen] [--fill] [--lock FILE] [--as USER]
                     [--heard FILE]
      binds ADDRESS (a path, or @NAME in the abstract namespace), listens and never accepts,
      writes READY once in place, and stays until killed.
      --no-listen   binds only
      --fill        connects to itself until the backlog is full (a connect() would block)
      --lock FILE   takes an flock on FILE first, as a live holder of the name does
      --as USER     then runs as that user, so that SO_PEERCRED names it
      --heard FILE  accepts after all, and appends what each client says to FILE
"""
import argparse
import fcntl
import os
import pwd
import signal
import socket
import sys


def address_of(text):
    return "\0" + text[1:] if text.startswith("@") else text


def fill(address, keep):
    while True:
        client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        client.setblocking(False)
        try:
            client.connect(address)
        except BlockingIOError:
            client.close()
            return
        keep.append(client)


def hold(args):
    if args.lock:
        lock = open(args.lock, "a")
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(address_of(args.address))
    if args.as_user:
        user = pwd.getpwnam(args.as_user)
        os.setgroups([])
        os.setgid(user.pw_gid)
        os.setuid(user.pw_uid)
    keep = []
    if not args.no_listen:
        server.listen(0)
        if args.fill:
            fill(address_of(args.address), keep)
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


def main():
    parser = argparse.ArgumentParser()
    commands = parser.add_subparsers(dest="command", required=True)
    stale = commands.add_parser("stale")
    stale.add_argument("path")
    holder = commands.add_parser("hold")
    holder.add_argument("address")
    holder.add_argument("ready")
    holder.add_argument("--no-listen", action="store_true")
    holder.add_argument("--fill", action="store_true")
    holder.add_argument("--lock")
    holder.add_argument("--as", dest="as_user")
    holder.add_argument("--heard")
    args = parser.parse_args()
    if args.command == "stale":
        socket.socket(socket.AF_UNIX, socket.SOCK_STREAM).bind(args.path)
        return 0
    hold(args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
