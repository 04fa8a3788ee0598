// The document converter's whole path, offscreen, with dialogs that answer by themselves:
// the converter window opens (open dialog -> IN, loaded into the upper pane, font dialog ->
// FACE at SIZE points, text copied into the lower pane, window centred and shown), both panes
// are painted, then "Export..." is pressed (save dialog -> OUT) and the window is closed.
//
// Usage: glyvex_convertbench IN OUT FACE SIZE   (run it through bench/convert)
// Prints the time of each step on stdout, and then that of reading IN as text on its own (the
// encoding found and the bytes decoded); exits with 1 when a step failed. When the converter
// refuses IN, its message is printed on stderr and nothing more is done (exit status 1).
#include "convert/frmdocconvert.h"
#include "formats/textdecode.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/form.h"
#include "platform/textview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

class AnsweringDialogs final : public Dialogs {
public:
    AnsweringDialogs(QString in, QString out, FontChoice font)
        : m_in(std::move(in))
        , m_out(std::move(out))
        , m_font(std::move(font))
    {
    }
    QStringList problems;

    QString chooseFile(QWidget*, const FileRequest& request) override
    {
        return request.kind == FileRequest::Kind::Open ? m_in : m_out;
    }
    std::optional<FontChoice> chooseFont(QWidget*, const FontRequest&) override { return m_font; }
    QString inputBox(QWidget*, const QString&, const QString&) override { return {}; }
    void messageBox(QWidget*, const QString& prompt, MsgBoxStyle, const QString&) override { problems << prompt; }
    void popupMenu(QWidget*, Menu&) override { }
    bool openUrl(const QUrl&) override { return false; }

private:
    QString m_in, m_out;
    FontChoice m_font;
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const float size = args.size() == 5 ? args[4].toFloat(&sizeOk) : 0;
    if (!sizeOk) {
        std::fprintf(stderr, "usage: glyvex_convertbench IN OUT FACE SIZE\n");
        return 2;
    }
    auto owned = std::make_unique<AnsweringDialogs>(args[1], args[2], FontChoice{args[3], size});
    AnsweringDialogs& answers = *owned;
    Platform platform(std::move(owned), std::make_unique<FontSource>());
    platform.fonts().useInstalledDefaultFont();
    Form owner(platform, QStringLiteral("frmBench"),
               FormDesign{.caption = QStringLiteral("Bench"), .clientWidth = 3000, .clientHeight = 3000});
    owner.Show();
    const qint64 started = clock.elapsed();

    frmDocConvert converter(platform);
    converter.ShowModal(owner);
    const qint64 loaded = clock.elapsed();
    // A file the converter refuses (a folder, a pipe, one it cannot read...) ends the run with
    // its own message: nothing was loaded to paint or export, and reading IN again here could
    // block (a pipe's open waits for a writer) or say something else.
    if (!answers.problems.isEmpty()) {
        for (const QString& problem : answers.problems)
            std::fprintf(stderr, "failed: %s\n", qPrintable(problem));
        return 1;
    }
    QCoreApplication::processEvents();
    converter.window()->repaint();
    const qint64 painted = clock.elapsed();
    static_cast<QAbstractButton*>(converter.cmdExport->widget())->click();
    const qint64 exported = clock.elapsed();
    static_cast<QAbstractButton*>(converter.cmdClose->widget())->click();
    const qint64 closed = clock.elapsed();

    const QFileInfo in(args[1]), out(args[2]);
    std::printf("input            %lld bytes, %lld characters, %lld line feeds\n", static_cast<long long>(in.size()),
                static_cast<long long>(converter.rtfOrig->Text().size()),
                static_cast<long long>(converter.rtfOrig->Text().count(u'\n')));
    std::printf("start-up         %6lld ms\n", static_cast<long long>(started));
    std::printf("open and load    %6lld ms  (read, decode, both panes, font, centre, show)\n",
                static_cast<long long>(loaded - started));
    std::printf("paint            %6lld ms\n", static_cast<long long>(painted - loaded));
    std::printf("export           %6lld ms  (%lld bytes of RTF)\n", static_cast<long long>(exported - painted),
                static_cast<long long>(out.size()));
    std::printf("close            %6lld ms\n", static_cast<long long>(closed - exported));
    std::printf("total in process %6lld ms\n", static_cast<long long>(closed));

    // Reading the file as text on its own, five times: the first run also pays for what is
    // loaded once (the converters' data) and for fresh memory. Only a plain file is read again.
    QFile file(args[1]);
    const QByteArray bytes = in.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer decoding;
        decoding.start();
        const QString text = formats::decodeText(bytes);
        runs.push_back(decoding.nsecsElapsed() / 1e6);
    }
    const double first = runs.front();
    std::sort(runs.begin(), runs.end());
    std::printf("decode alone     %6.0f ms  first run, %.0f ms median of 5 (%.0f MiB/s)\n", first, runs[2],
                bytes.size() / 1048576.0 / std::max(runs[2] / 1000, 1e-9));
    for (const QString& problem : answers.problems)
        std::fprintf(stderr, "failed: %s\n", qPrintable(problem));
    return answers.problems.isEmpty() && out.exists() ? 0 : 1;
}
