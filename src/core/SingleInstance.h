#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace kyvane {

// One running copy per program folder: two copies would run the same job
// files. The first copy holds a lock file in the folder and listens on a
// local socket named after the folder; a later copy finds the lock held,
// asks the first to come to the front through the socket, and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // folder: the program folder, ending in "/".
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the one copy for the folder. False when another
    // holds it; that copy has then been asked to show itself (for as long as
    // waitMs allows it to answer).
    bool claim(int waitMs = 5000);

    // The local socket's name for a program folder.
    static QString socketName(const QString& folder);

signals:
    // A later copy asked this one to show itself.
    void activationRequested();

private:
    bool askTheFirstCopy(int waitMs) const;

    QString m_folder;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace kyvane
