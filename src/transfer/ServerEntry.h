#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kyvane {

// The edits of the server editor on one line of server.cfg:
// address|port|account|digest. "Trimmed" means without leading and trailing
// characters U+0000 to U+0020.
namespace ServerEntry {

// What the settings list shows for an entry: the text before its first "|",
// trimmed; a line without "|" whole and untrimmed.
QString addressField(const QString& entry);

// The fields the editor shows for an entry, untrimmed: split three times at
// "|", a missing field empty.
struct Fields
{
    QString server;
    QString port;
    QString account;
};
Fields editorFields(const QString& entry);

// A new server from the editor's fields, all four trimmed, the password
// stored as the digest of its trimmed text. Nothing when a trimmed field is
// empty.
std::optional<QString> added(const QString& server, const QString& port, const QString& account,
                             const QString& password);

// The entry that replaces stored: server, port and account trimmed. A
// password that trims to nothing keeps the stored digest (the fourth field,
// empty when stored has fewer); any other is digested exactly as typed.
// Nothing when the trimmed server, port or account is empty.
std::optional<QString> edited(const QString& stored, const QString& server, const QString& port,
                              const QString& account, const QString& password);

// What keeps the editor's fields from being one line of server.cfg once
// trimmed: a "|" or a control character (U+0000 to U+001F, U+007F) inside
// the server or the account would shift or end the line's fields, and a port
// must be a number from 1 to 65535.
enum class FieldProblem { None, Server, Port, Account };
FieldProblem fieldProblem(const QString& server, const QString& port, const QString& account);

// Whether a character typed into the account field is kept: letters of any
// script, decimal digits and control characters (keys such as backspace
// bring the empty text, which counts as control).
bool acceptedInAccount(QStringView typed);

} // namespace ServerEntry

} // namespace kyvane
