#!/usr/bin/env python3
"""Writes the seed inputs in corpus/. Crashers found by fuzzing are saved
there by hand (crash-<name>) and are not produced by this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(ftype, seq, payload):
    return b"*" + bytes([ftype]) + struct.pack(">HH", seq & 0xFFFF, len(payload)) + payload


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


SERVER_LINES = [
    b"SIGN_ON:TOC2.0",
    b"NICK:Fuzz User",
    b"CONFIG2:m:3\ng:Friends\nb:buddya\nb:buddyb:::::alias\n",
    b"CONFIG2:d:blocked\np:permitted\npref:x\n\ndone:\ntrailing\n",
    b"UPDATE_BUDDY2:buddya:T:0:1700000000:5: O",
    b"UPDATE_BUDDY2:buddyb:F:10:0:0: OU",
    b"IM_IN_ENC2:buddya:F:F:T: O:F:L:en:<b>meet at 10:30</b>",
    b"IM_IN_ENC2:buddyb:T:F:T: O:F:L:en:I am away",
    b"CHAT_JOIN:42:lobby",
    b"CHAT_UPDATE_BUDDY:42:T:buddya:buddyb:buddyc:buddyd",
    b"CHAT_UPDATE_BUDDY:42:F:buddya:buddyb",
    b"CHAT_IN_ENC:42:buddya:F:x:en:hello: world",
    b"CHAT_IN_ENC:42:buddya:F:x:en:bye now",
    b"CHAT_INVITE:room:43:buddyb:come in",
    b"CHAT_LEFT:42",
    b"CHAT_LEFT:99",
    b"BUDDY_CAPS2:buddya:09461343-4C7F-11D1-8222-444553540000",
    b"BART2:buddya:0 2 AAAA",
    b"INSERTED2:b:alias:buddyz:Friends",
    b"INSERTED2:p:permitted",
    b"INSERTED2:d:blocked",
    b"INSERTED2:g:Work",
    b"DELETED2:b:buddyz:Friends",
    b"DELETED2:p:permitted",
    b"DELETED2:d:blocked",
    b"DELETED2:g:Work",
    b"UPDATED2:b:buddya",
    b"GOTO_URL:profile:http://example.invalid/info?a:b",
    b"EVILED:10:buddyb",
    b"EVILED:3:",
    b"ADMIN_NICK_STATUS:0",
    b"ADMIN_PASSWD_STATUS:0",
    b"RVOUS_PROPOSE:buddya:UUID:cookie:1:10.0.0.1:10.0.0.2:10.0.0.3:5190:extra",
    b"CLIENT_EVENT2:buddya:2",
    b"ERROR:901:buddyc",
    b"ERROR:951:lobby:24",
    b"ERROR:989:7",
    b"ERROR:989:99",
    b"ERROR:904",
    b"UNKNOWN_COMMAND:1:2",
    b"UPDATE_BUDDY2:buddya:T:-1:x:y: O",
    b"CHAT_JOIN:99999999999:toolarge",
]


def server_stream():
    out = frame(1, 0, b"\0\0\0\1")
    seq = 1
    for line in SERVER_LINES:
        out += frame(2, seq, line)
        seq += 1
    out += frame(5, seq, b"") + frame(9, seq + 1, b"x") + frame(3, seq + 2, b"")
    return out


def receive_seeds():
    stream = server_stream()
    # flags, chunk plan (count-1, sizes-1...), stream
    write("receive", "whole-session", bytes([0x01, 0, 255]) + stream)
    write("receive", "split-headers", bytes([0x01, 2, 2, 3, 0]) + stream)
    write("receive", "answering-handlers", bytes([0x3D, 1, 9, 200]) + stream)
    write("receive", "fail-midway", bytes([0x41, 0, 20]) + stream)
    write("receive", "not-connected", bytes([0x80, 0, 255]) + stream)
    framed = b"\0".join(SERVER_LINES)
    write("receive", "framed-lines", bytes([0x13, 0, 255]) + framed)
    write("receive", "framed-login-again", bytes([0x0B, 0, 255]) + framed)
    joins = b"\0".join(b"CHAT_JOIN:%d:room%d" % (i, i) for i in range(1, 14))
    write("receive", "chat-table-full", bytes([0x23, 0, 255]) + joins + b"\0CHAT_LEFT:3\0CHAT_JOIN:77:late")
    lying = frame(2, 1, b"SIGN_ON:TOC2.0")[:4] + b"\xff\xff" + b"short"
    write("receive", "lying-length", bytes([0x01, 0, 255]) + lying)
    write("receive", "header-only", bytes([0x01, 0, 0]) + b"*\x02\x00")


def config_seeds():
    write("config", "one-frame", b"\x00g:Friends\nb:buddya\nb:buddyb\ndone:\n")
    write("config", "split", b"\x02m:35\ng:Friends\nb:buddyc:::::x\nd:spam\np:pal\npref:abc\n\nmisc\ndone:\nafter\n")
    write("config", "no-end", b"\x01g:Friends\nb:buddya\n")
    write("config", "two-ends", b"\x03g:A\ndone:\ng:B\ndone:\n")
    write("config", "end-without-lf", b"\x00g:A\ndone:")


def quote_seeds():
    write("quote", "plain", b"hello world")
    write("quote", "escaped-characters", b'a\\b$c"d(e)f[g]h{i}j')
    write("quote", "command-line", b'toc_send_im buddya "hi \\"there\\" \\\\ \\$5"')
    write("quote", "open-quote", b'toc_send_im "unterminated')
    write("quote", "binary", bytes(range(256)))


def server_op(client, action):
    return bytes([action * 3 + client])


RAW, LINE, HANGUP, RECONNECT, RUN = range(5)


def line(client, text):
    return server_op(client, LINE) + text + b"\n"


def server_seeds():
    commands = [
        b'toc_send_im fuzz1 "hello there"',
        b'toc_send_im qivbot "hi bot"',
        b'toc_send_im qivbot "auto" auto',
        b'toc_send_im nobody "anyone?"',
        b'toc_set_away "gone"',
        b"toc_set_away",
        b'toc_set_info "my profile"',
        b"toc_get_info fuzz1",
        b"toc_get_info nobody",
        b"toc_evil fuzz1 norm",
        b"toc_evil fuzz1 anon",
        b"toc_evil fuzz0 norm",
        b"toc2_add_deny fuzz1 fuzz2",
        b"toc2_remove_deny fuzz1",
        b"toc2_add_permit fuzz1",
        b"toc2_remove_permit fuzz1",
        b"toc2_set_pdmode 3",
        b"toc2_set_pdmode 99",
        b'toc_change_passwd "secret" "other"',
        b'toc_chat_join 4 "lobby"',
        b'toc_chat_join 4 "Other Room"',
        b'toc_chat_join 5 "lobby"',
        b'toc_chat_send 1 "hello room"',
        b'toc_chat_send 99 "nobody here"',
        b"toc_chat_leave 1",
        b"toc_chat_leave x",
        b"toc_bogus",
        b'toc_send_im "unterminated',
    ]
    script = bytes([0x07])
    for i, cmd in enumerate(commands):
        script += line(i % 2, cmd)
    script += line(2, b'toc_chat_join 4 "lobby"') + server_op(1, HANGUP) + server_op(0, RUN)
    script += server_op(1, RECONNECT) + line(1, b"toc_send_im fuzz0 back")
    write("server", "signed-on-commands", script)

    # A client that does the whole handshake itself, in awkward pieces.
    name = b"handmade"
    signon = frame(1, 0, b"\0\0\0\1\0\1" + struct.pack(">H", len(name)) + name)
    login = frame(2, 1, b"toc2_login login.example 5190 handmade 0x2408105c23001130 English \"x\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 1\0")
    init = frame(2, 2, b"toc_init_done\0")
    raw = b"FLAPON\n\n" + signon + login + init
    script = bytes([0x00])
    for pos in range(0, len(raw), 7):
        piece = raw[pos:pos + 7]
        script += server_op(0, RAW) + bytes([len(piece) - 1]) + piece
    script += line(0, b'toc_send_im qivbot "hi"')
    write("server", "handshake-in-pieces", script)

    write("server", "same-name-twice", bytes([0x43]) + line(0, b'toc_chat_join 4 "lobby"') + line(1, b'toc_send_im qivbot "x"') + server_op(0, RUN))
    write("server", "non-reader", bytes([0x0F]) + b"".join(line(0, b'toc_send_im qivbot "%d"' % i) for i in range(40)) + server_op(0, RUN))
    write("server", "garbage-first", bytes([0x00]) + server_op(0, RAW) + b"\x0fGET / HTTP/1.0\r\n" + server_op(1, RAW) + b"\x0dFLAPON\n\n*\x02\x00\x00\xff\xff")


receive_seeds()
config_seeds()
quote_seeds()
server_seeds()
