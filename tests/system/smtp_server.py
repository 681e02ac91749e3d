# A local SMTP server for the e-mail tests: listens on 127.0.0.1 on a free port, prints
# "ready <port>", writes each received mail as mail-<n>.json into the given folder and runs
# until its standard input closes. Mode "refuse" refuses every recipient. The login "user"
# with the password "secret" is accepted.
import email
import email.policy
import json
import os
import socket
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

folder = sys.argv[1]
mode = sys.argv[2] if len(sys.argv) > 2 else "accept"
count = 0


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if mode == "refuse":
            return "550 recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        global count
        count += 1
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        login = getattr(session, "auth_data", None)
        body = message.get_body(preferencelist=("plain",))
        record = {
            "from": envelope.mail_from,
            "to": envelope.rcpt_tos,
            "login": login.decode() if isinstance(login, bytes) else None,
            "header_from": str(message["From"]),
            "subject": str(message["Subject"]),
            "body": body.get_content() if body else "",
            "attachments": {
                part.get_filename(): part.get_content().decode("latin-1")
                for part in message.iter_attachments()
            },
        }
        with open(os.path.join(folder, "mail-%d.json" % count), "w", encoding="utf-8") as f:
            json.dump(record, f)
        return "250 OK"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login == b"user"
          and auth_data.password == b"secret")
    return AuthResult(success=ok, auth_data=auth_data.login if ok else None)


probe = socket.socket()
probe.bind(("127.0.0.1", 0))
port = probe.getsockname()[1]
probe.close()
controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=authenticate,
                        auth_require_tls=False)
controller.start()
print("ready %d" % port, flush=True)
sys.stdin.read()
controller.stop()
