// Help > User Guide: the guide rendered from its Markdown with every picture
// it names, beside the About command.
#include "app/commands/commands.h"
#include "gui/main_window.h"
#include "gui/user_guide_window.h"
#include "gui_test_support.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

using kv::app::CommandId;
using kv::gui::MainWindow;
using kv::gui::UserGuideWindow;

namespace {

/// The picture names the rendered document holds, in reading order.
QStringList renderedImages(const QTextDocument& doc) {
    QStringList names;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat())
                names << fragment.charFormat().toImageFormat().name();
        }
    }
    return names;
}

/// The headings of the rendered document.
QStringList headings(const QTextDocument& doc) {
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            texts << block.text();
    }
    return texts;
}

/// A resource the document loaded, as an image (the browser hands back
/// images or the raw file bytes).
QImage asImage(const QVariant& resource) {
    if (resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage)
        return resource.value<QImage>();
    if (resource.typeId() == QMetaType::QPixmap)
        return resource.value<QPixmap>().toImage();
    return QImage::fromData(resource.toByteArray());
}

} // namespace

class UserGuideTest : public QObject {
    Q_OBJECT

    kv::guitest::RecordingMessages messages_;

  private slots:
    void helpMenuHoldsTheGuideBesideAbout() {
        MainWindow w(messages_);
        QAction* guide = w.commandAction(int(CommandId::HelpUserGuide));
        QAction* about = w.commandAction(int(CommandId::HelpAbout));
        QVERIFY(guide != nullptr && about != nullptr);
        QVERIFY(guide->isEnabled());
        QCOMPARE(guide->text(), QStringLiteral("User Guide"));
        auto* help = qobject_cast<QMenu*>(guide->parent());
        QVERIFY(help != nullptr);
        QCOMPARE(help->title(), QStringLiteral("Help"));
        const QList<QAction*> items = help->actions();
        QCOMPARE(items.indexOf(about), items.indexOf(guide) + 1);
    }

    void theGuideRendersWithEveryPictureItNames() {
        MainWindow w(messages_);
        w.show();
        w.runCommand(int(CommandId::HelpUserGuide));
        auto* window = w.findChild<UserGuideWindow*>();
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("Kestrovane User Guide"));
        const QTextDocument& doc = *window->browser()->document();

        // The Markdown built into the program names these pictures...
        QFile source(kv::gui::kUserGuideUrl.toString().replace(QStringLiteral("qrc:"), ":"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString markdown = QString::fromUtf8(source.readAll());
        QStringList named;
        static const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\))"));
        for (auto m = image.globalMatch(markdown); m.hasNext();)
            named << m.next().captured(1);
        QVERIFY2(named.size() >= 8, qPrintable(QString::number(named.size())));

        // ...the rendered guide holds each of them, and each one loads as a picture.
        const QStringList rendered = renderedImages(doc);
        QCOMPARE(QSet<QString>(rendered.begin(), rendered.end()),
                 QSet<QString>(named.begin(), named.end()));
        for (const QString& name : rendered) {
            const QVariant resource =
                const_cast<QTextDocument&>(doc).resource(QTextDocument::ImageResource, QUrl(name));
            const QImage picture = asImage(resource);
            QVERIFY2(!picture.isNull(), qPrintable(name));
            QVERIFY2(picture.width() >= 200 && picture.height() >= 100, qPrintable(name));
        }

        // The text is Markdown rendered, not shown as source: headings, no hashes.
        const QStringList titles = headings(doc);
        QVERIFY(titles.contains(QStringLiteral("A first take in five minutes")));
        QVERIFY(titles.contains(QStringLiteral("Driving the car")));
        QVERIFY(!doc.toPlainText().contains(QStringLiteral("## ")));
        QVERIFY(!doc.toPlainText().contains(QStringLiteral("![")));
    }

    void askingAgainRaisesTheSameWindow() {
        MainWindow w(messages_);
        w.runCommand(int(CommandId::HelpUserGuide));
        auto* first = w.findChild<UserGuideWindow*>();
        QVERIFY(first != nullptr);
        first->close();
        w.runCommand(int(CommandId::HelpUserGuide));
        QCOMPARE(w.findChildren<UserGuideWindow*>().size(), 1);
        QVERIFY(first->isVisible());
    }
};

QTEST_MAIN(UserGuideTest)
#include "test_user_guide.moc"
