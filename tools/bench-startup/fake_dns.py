"""A name service on 127.0.0.1:53 for the start-up benchmark.

  fake_dns.py answer     every A query is answered at once with 127.0.0.1
  fake_dns.py silent     queries are received and never answered (a dead name server)
"""

import socket
import struct
import sys


def answer(query):
    """A response to a one-question query: the question echoed and, for an A query, one record
    127.0.0.1; other types get an empty answer."""
    ident = query[:2]
    end = 12
    while query[end] != 0:
        end += query[end] + 1
    question = query[12:end + 5]
    qtype = struct.unpack(">H", query[end + 1:end + 3])[0]
    if qtype != 1:
        return ident + struct.pack(">HHHHH", 0x8180, 1, 0, 0, 0) + question
    header = ident + struct.pack(">HHHHH", 0x8180, 1, 1, 0, 0)
    record = struct.pack(">HHHLH", 0xC00C, 1, 1, 60, 4) + socket.inet_aton("127.0.0.1")
    return header + question + record


def main():
    mode = sys.argv[1]
    server = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    server.bind(("127.0.0.1", 53))
    while True:
        query, peer = server.recvfrom(512)
        if mode == "answer" and len(query) > 12:
            try:
                server.sendto(answer(query), peer)
            except (IndexError, OSError):
                pass


if __name__ == "__main__":
    main()
