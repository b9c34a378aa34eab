// The splash with its timer stages, the results window's buttons, the JPEG
// decoder and the scripted dialogs.
#include "jpeg_decode.h"
#include "jpeg_image.h"
#include "qt_dialogs.h"
#include "scripted_dialogs.h"
#include "splash_progress.h"
#include "results_window.h"
#include "splash_window.h"

#include <QFile>
#include <QTemporaryDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <functional>

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Once the next modal window is open, hands it to `act` (which closes it).
void whenModalOpens(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    if (QWidget* modal = QApplication::activeModalWidget()) act(modal);
    else whenModalOpens(act);
  });
}

QByteArray splashBytes() {
  QFile file(QStringLiteral(":/norvix/splash.jpg"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}
}  // namespace

class PartsTest : public QObject {
  Q_OBJECT

 private slots:
  // Tick by tick: the stage texts appear at the ticks where the position
  // reaches their thresholds, and the timer stops on the 23rd tick.
  void splashProgressStages() {
    SplashProgress progress;
    QStringList texts;
    QList<int> textTicks;
    int ticks = 0;
    int lastWidth = 0;
    for (;;) {
      ++ticks;
      QVERIFY2(ticks <= 100, "the splash never stops");
      SplashTick t = progress.tick();
      if (t.stop) break;
      if (t.stageText) {
        texts << cp1251ToQ(t.stageText);
        textTicks << ticks;
      }
      if (t.paint) {
        // The strip reaches twice the position plus the step just taken.
        QVERIFY2(t.width > 2 * progress.position(), "the strip lags the position");
        lastWidth = t.width;
      }
      QCOMPARE(t.paint, ticks > 2);
    }
    QCOMPARE(ticks, 23);
    QVERIFY(progress.finished());
    QCOMPARE(progress.position(), 142);
    QCOMPARE(texts, QStringList({u("Загрузка....."), u("Инициализация базы знаний....."),
                                 u("Инициализация машины вывода....."),
                                 u("Чтение установок....."), u("Инициализация.....")}));
    // Positions 0, 30, 80, 112 (first at or above 105) and 136 (first at
    // or above 130) are reached on these ticks.
    QCOMPARE(textTicks, QList<int>({3, 9, 14, 18, 21}));
    QCOMPARE(lastWidth, 2 * (142 + 3));
  }

  void splashWindow() {
    TSplash splash;
    QCOMPARE(splash.size(), QSize(418, 295));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(splash.cursor().shape(), Qt::WaitCursor);
    QCOMPARE(splash.box->geometry(), QRect(67, 212, 280, 14));
    QCOMPARE(splash.Panel1->geometry(), QRect(70, 191, 280, 17));
    QCOMPARE(splash.Panel1->font().family(), u("Arial"));
    QCOMPARE(splash.Timer1->interval(), 400);
    QVERIFY(!splash.picture().isNull());
    QCOMPARE(splash.picture().size(), QSize(418, 295));
    QVERIFY(!splash.running());
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QVERIFY(splash.running());
    QSignalSpy stopped(&splash, &TSplash::progressStopped);
    for (int i = 1; i <= 22; ++i) splash.Timer1Timer();
    QVERIFY(splash.running());
    QCOMPARE(splash.Panel1->text(), u("Инициализация....."));
    QCOMPARE(splash.box->filled(), 2 * (142 + 3));
    QCOMPARE(stopped.count(), 0);
    splash.Timer1Timer();
    QVERIFY(!splash.running());
    QVERIFY(splash.finished());
    QCOMPARE(stopped.count(), 1);
    splash.Timer1Timer();
    QCOMPARE(stopped.count(), 1);
  }

  void splashWithoutPictureStaysWhite() {
    TSplash splash(QStringLiteral(":/no/such/picture.jpg"));
    QVERIFY(splash.picture().isNull());
    QImage shot = splash.grab().toImage();
    QCOMPARE(shot.pixelColor(5, 5), QColor(Qt::white));
  }

  void resultsWindowButtons() {
    TForm2 form;
    QCOMPARE(form.windowTitle(), u("Результаты синтеза"));
    QCOMPARE(form.size(), QSize(306, 374));
    QCOMPARE(form.minimumSize(), QSize(306, 374));
    QCOMPARE(form.Synt->indentation(), 19);
    QCOMPARE(form.Button1->text(), u("&Ok"));
    QCOMPARE(form.Button2->text(), u("&Раскрыть"));
    QCOMPARE(form.Button3->text(), u("&Свернуть"));
    auto* root = new QTreeWidgetItem(form.Synt, QStringList(u("Система:")));
    auto* mid = new QTreeWidgetItem(root, QStringList(u("Блок P1:")));
    auto* leaf = new QTreeWidgetItem(mid, QStringList(u("Частота 2000")));
    auto* other = new QTreeWidgetItem(form.Synt, QStringList(u("Другое:")));
    new QTreeWidgetItem(other, QStringList(u("x")));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QVERIFY(root->isExpanded() && mid->isExpanded() && other->isExpanded());
    QVERIFY(leaf->childCount() == 0);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    QVERIFY(!root->isExpanded() && !mid->isExpanded() && !other->isExpanded());
    QSignalSpy finished(&form, &QDialog::finished);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
  }

  void jpegDecodesTheSplash() {
    const QByteArray bytes = splashBytes();
    QVERIFY(!bytes.isEmpty());
    QImage image = imageFromJpeg(bytes);
    QCOMPARE(image.size(), QSize(418, 295));
    // The top is the dark blue of the sky, the bottom nearly white.
    QVERIFY(image.pixelColor(5, 5).blue() > image.pixelColor(5, 5).red());
    QVERIFY(image.pixelColor(5, 290).lightness() > 200);
  }

  void jpegRejectsDamagedData_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = splashBytes();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a JPEG") << QByteArray("GIF89a and more bytes");
    QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2);
    QTest::newRow("header cut") << good.left(100);
  }

  void jpegRejectsDamagedData() {
    QFETCH(QByteArray, bytes);
    QVERIFY(imageFromJpeg(bytes).isNull());
    RgbPicture picture;
    std::string error;
    QVERIFY(!decodeJpeg(std::string_view(bytes.constData(), size_t(bytes.size())), picture, &error));
    QVERIFY(!error.empty());
    QVERIFY(picture.rgb.empty());
  }

  void jpegTruncatedBodyStillDecodes() {
    // libjpeg fills what is missing; the picture keeps its size.
    const QByteArray good = splashBytes();
    QImage image = imageFromJpeg(good.left(good.size() / 2));
    QCOMPARE(image.size(), QSize(418, 295));
  }

  void jpegRefusesHugePictures() {
    RgbPicture picture;
    std::string error;
    const QByteArray good = splashBytes();
    QVERIFY(!decodeJpeg(std::string_view(good.constData(), size_t(good.size())), picture, &error,
                        1000));
    QCOMPARE(error, std::string("JPEG picture too large"));
  }

  void qtWarningButtons_data() {
    QTest::addColumn<bool>("withCancel");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("reply");
    QTest::newRow("yes") << true << int(QMessageBox::Yes) << int(Dialogs::Reply::Yes);
    QTest::newRow("no") << true << int(QMessageBox::No) << int(Dialogs::Reply::No);
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << int(Dialogs::Reply::Cancel);
    QTest::newRow("no, without cancel") << false << int(QMessageBox::No) << int(Dialogs::Reply::No);
  }

  void qtWarningButtons() {
    QFETCH(bool, withCancel);
    QFETCH(int, button);
    QFETCH(int, reply);
    QtDialogs dialogs;
    QString text;
    bool hasCancel = false;
    whenModalOpens([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      text = box->text();
      hasCancel = box->button(QMessageBox::Cancel) != nullptr;
      QTest::mouseClick(box->button(QMessageBox::StandardButton(button)), Qt::LeftButton);
    });
    QCOMPARE(int(dialogs.askWarning(nullptr, u("W"), u("a\nb"), withCancel)), reply);
    QCOMPARE(text, u("a\nb"));
    QCOMPARE(hasCancel, withCancel);
  }

  void qtFileDialogs() {
    QtDialogs dialogs;
    FileDialogSpec spec{u("Select a file to save to"),
                        {{u("Knowledge base files *.dat"), u("*.dat")},
                         {u("Text file *.txt"), u("*.txt")}},
                        u("dat")};
    QString title, suffix, proposed;
    QStringList filters;
    whenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) return;
      title = dialog->windowTitle();
      filters = dialog->nameFilters();
      suffix = dialog->defaultSuffix();
      // The name box of Qt's own dialog.
      if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        proposed = edit->text();
      dialog->reject();
    });
    QCOMPARE(dialogs.chooseSaveFile(nullptr, spec, u("Сад")), std::optional<QString>());
    QCOMPARE(title, u("Select a file to save to"));
    QCOMPARE(filters, QStringList({u("Knowledge base files *.dat (*.dat)"),
                                   u("Text file *.txt (*.txt)")}));
    QCOMPARE(suffix, u("dat"));
    QCOMPARE(proposed, u("Сад"));

    // The open dialog gives back the chosen file.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kb.dat"));
    QFile(file).open(QIODevice::WriteOnly);
    whenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) return;
      title = dialog->windowTitle();
      dialog->selectFile(file);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    spec.title = u("Select a file to load");
    QCOMPARE(dialogs.chooseOpenFile(nullptr, spec), std::optional<QString>(file));
    QCOMPARE(title, u("Select a file to load"));
  }

  void scriptedDialogsRecordAndAnswer() {
    ScriptedDialogs d;
    d.answerWarning(Dialogs::Reply::No);
    d.answerOpenFile(u("/tmp/a.dat"));
    FileDialogSpec spec{u("T"), {{u("Knowledge base files *.dat"), u("*.dat")}}, u("dat")};
    QCOMPARE(d.askWarning(nullptr, u("C"), u("text"), true), Dialogs::Reply::No);
    QCOMPARE(d.chooseOpenFile(nullptr, spec), std::optional<QString>(u("/tmp/a.dat")));
    d.showError(nullptr, u("E"), u("bad"));
    QCOMPARE(d.pending(), 0);
    QVERIFY(d.mismatches().isEmpty());
    QCOMPARE(d.calls().size(), size_t(3));
    QCOMPARE(d.calls()[1].filters, QStringList(u("Knowledge base files *.dat (*.dat)")));
    QCOMPARE(d.calls()[2].text, u("bad"));
    // Nothing prepared: a cancel and a recorded mismatch, never a block.
    QCOMPARE(d.chooseSaveFile(nullptr, spec, u("x")), std::optional<QString>());
    QCOMPARE(d.askWarning(nullptr, u("C"), u("t"), false), Dialogs::Reply::No);
    QCOMPARE(d.mismatches().size(), 2);
  }

 private:
  static QString cp1251ToQ(const char* text);
};

#include "qt_text.h"
QString PartsTest::cp1251ToQ(const char* text) { return cp1251::toQString(text); }

QTEST_MAIN(PartsTest)
#include "parts_test.moc"
