// Renders the tracker's small windows into PNG files for the README: the message popup and
// the choice dialog. scripts/screenshots runs it; the main window is shot on a real X server.
#include "core/FormStorage.h"
#include "options/OptionSettings.h"
#include "platform/fake/FakeDesktop.h"
#include "tracker/TformHoralog.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir dir;
  core::FormStorage::OpenSettings()->clear();
  platform::FakeDesktop desktop;
  desktop.logOnName = QStringLiteral("anna");
  core::SystemClock clock;
  options::OptionSettings options;
  tracker::TformHoralog w(desktop, clock, options, dir.path(), dir.path());
  w.show();
  QApplication::processEvents();

  w.ShowMessagePopup(QStringLiteral("Take a break for 5 minutes"));
  QApplication::processEvents();
  w.FormMessage->grab().save(out.filePath(QStringLiteral("message-popup.png")));

  w.slCountDownComment.Assign(
      {QStringLiteral("tea"), QStringLiteral("call the office"), QStringLiteral("stretch")});
  QTimer::singleShot(100, &w, [&] {
    w.formInputStrings->lbUsers->setCurrentRow(1);
    w.formInputStrings->edUser->setText(QStringLiteral("call the office"));
    QApplication::processEvents();
    w.formInputStrings->grab().save(out.filePath(QStringLiteral("choice-dialog.png")));
    w.formInputStrings->reject();
  });
  w.formInputStrings->ChooseString(QStringLiteral("Enter Comment"), w.slCountDownComment.lines(),
                                   true, w.geometry());
  return 0;
}
