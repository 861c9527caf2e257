// The libraries a freshly started program maps before anything is asked of it: what only a
// later window or the first sound needs is opened then, not at start.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

QSet<QString> mappedFiles(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    QSet<QString> files;
    if (!maps.open(QIODevice::ReadOnly))
        return files;
    // address perms offset dev inode path
    static const QRegularExpression line(QStringLiteral("^\\S+\\s+\\S+\\s+\\S+\\s+\\S+\\s+\\d+\\s+(/.*)$"));
    for (const QByteArray &raw : maps.readAll().split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(raw));
        if (match.hasMatch())
            files.insert(match.captured(1));
    }
    return files;
}

// Every thread of the process asleep (waiting for an event).
bool asleep(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (ids.isEmpty())
        return false;
    for (const QString &id : ids) {
        QFile stat(tasks.filePath(id + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = stat.readAll();
        const qsizetype end = text.lastIndexOf(')');
        if (end < 0 || text.mid(end + 2, 1) != "S")
            return false;
    }
    return true;
}

} // namespace

class TestStartMaps : public QObject
{
    Q_OBJECT
private slots:
    void onlyWhatTheMainWindowNeeds();
};

void TestStartMaps::onlyWhatTheMainWindowNeeds()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PLUMALIN_PROGRAM), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    const qint64 pid = program.processId();
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished();
    });

    // Started is when the program waits in its event loop with nothing left to do: every
    // thread asleep, and the same files mapped, on several looks in a row. On a loaded
    // machine a busy program is seen running, so this waits longer rather than looking early.
    QSet<QString> files;
    int steady = 0;
    for (int look = 0; look < 1200 && steady < 10; ++look) {
        QThread::msleep(50);
        QVERIFY2(program.state() == QProcess::Running, "the program ended at start");
        const QSet<QString> now = mappedFiles(pid);
        steady = (asleep(pid) && now == files) ? steady + 1 : 0;
        files = now;
    }
    QVERIFY2(steady >= 10, "the program did not settle in a minute");

    QStringList libraries;
    for (const QString &file : std::as_const(files)) {
        if (file.contains(QLatin1String(".so")))
            libraries.append(file);
    }
    libraries.sort();
    qInfo().noquote() << libraries.size() << "libraries mapped at start:\n "
                      << libraries.join(QStringLiteral("\n  "));
    QVERIFY(!libraries.filter(QRegularExpression(QStringLiteral("/libQt6Widgets\\.so"))).isEmpty());

    // What the summary window, the sound output (and its MP3 decoder), printing and the SVG
    // drawings of the exercise need, with what they bring along; and the image-format plugins, which drawing the main window does not need.
    const QRegularExpression notAtStart(QStringLiteral(
        "/libQt6(Multimedia|Network|OpenGL|PrintSupport|Svg)[A-Za-z]*\\.so|/libpulse|/imageformats/"
        "|/libplumalin_|/libcups|/libmpg123"));
    QStringList loaded = libraries.filter(notAtStart);
    QVERIFY2(loaded.isEmpty(), qPrintable(QStringLiteral("mapped at start: ") + loaded.join(u' ')));
}

QTEST_GUILESS_MAIN(TestStartMaps)
#include "tst_startmaps.moc"
