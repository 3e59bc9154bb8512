#!/usr/bin/python3
"""A throw-away SMTP server on 127.0.0.1 for the reminder-mail tests.

Prints "READY <port>" once it listens, then writes each received message, parsed with
the standard email package, as JSON to --out. It runs until it is terminated.
With --make-cert it only writes a self-signed certificate and key and exits.
"""
import argparse
import datetime
import email
import email.policy
import ipaddress
import json
import logging
import os
import socket
import ssl
import sys
import threading
import warnings

EXIT_NO_AIOSMTPD = 3
EXIT_NO_CRYPTOGRAPHY = 4


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Recorder:
    def __init__(self, out):
        self.out = out

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        head = envelope.content.split(b"\r\n\r\n", 1)[0]
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": message["From"],
            "to": [[a.display_name, a.addr_spec] for a in message["To"].addresses],
            "subject": str(message["Subject"]),
            "charset": message.get_content_charset(),
            # Decoded by its label, as a mail client does: a wrong label shows here.
            "body": message.get_payload(decode=True).decode(message.get_content_charset() or "ascii"),
            "message_id": str(message["Message-ID"] or ""),
            "longest_header_line": max(len(line) for line in head.split(b"\r\n")),
            "mechanism": session.auth_data,
            "tls": server.transport.get_extra_info("ssl_object") is not None,
        }
        temporary = self.out + ".part"
        with open(temporary, "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        os.replace(temporary, self.out)
        return "250 OK"


def make_authenticator(user, password):
    from aiosmtpd.smtp import AuthResult, LoginPassword

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user.encode()
              and auth_data.password == password.encode())
        return AuthResult(success=ok, handled=False, auth_data=mechanism if ok else None)

    return authenticate


def server_context(cert, key):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context


def make_cert(cert, key):
    try:
        from cryptography import x509
        from cryptography.hazmat.primitives import hashes, serialization
        from cryptography.hazmat.primitives.asymmetric import rsa
        from cryptography.x509.oid import NameOID
    except ImportError:
        sys.exit(EXIT_NO_CRYPTOGRAPHY)
    private = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, "localhost")])
    now = datetime.datetime.now(datetime.timezone.utc)
    names = x509.SubjectAlternativeName([x509.DNSName("localhost"), x509.IPAddress(ipaddress.ip_address("127.0.0.1"))])
    certificate = (x509.CertificateBuilder().subject_name(name).issuer_name(name).public_key(private.public_key())
                   .serial_number(x509.random_serial_number()).not_valid_before(now)
                   .not_valid_after(now + datetime.timedelta(days=1)).add_extension(names, critical=False)
                   .sign(private, hashes.SHA256()))
    with open(cert, "wb") as f:
        f.write(certificate.public_bytes(serialization.Encoding.PEM))
    with open(key, "wb") as f:
        f.write(private.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.TraditionalOpenSSL,
                                      serialization.NoEncryption()))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out")
    parser.add_argument("--user", default="clerk")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--exclude", action="append", default=[], help="an AUTH mechanism not to offer")
    parser.add_argument("--mode", choices=["plain", "starttls", "implicit"], default="plain")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--make-cert", action="store_true")
    args = parser.parse_args()
    if args.make_cert:
        make_cert(args.cert, args.key)
        return
    warnings.simplefilter("ignore")  # plain AUTH on loopback is what the test wants
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    try:
        from aiosmtpd.controller import Controller
    except ImportError:
        sys.exit(EXIT_NO_AIOSMTPD)

    # aiosmtpd counts only STARTTLS as TLS for auth_require_tls, not TLS from the first byte.
    options = dict(authenticator=make_authenticator(args.user, args.password), auth_required=True,
                   auth_require_tls=args.mode == "starttls", auth_exclude_mechanism=args.exclude)
    if args.mode == "starttls":
        options.update(tls_context=server_context(args.cert, args.key), require_starttls=True)
    if args.mode == "implicit":
        options.update(ssl_context=server_context(args.cert, args.key))
    port = free_port()
    controller = Controller(Recorder(args.out), hostname="127.0.0.1", port=port, **options)
    controller.start()
    print("READY", port, flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()
