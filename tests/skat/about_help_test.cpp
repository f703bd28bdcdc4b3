#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include "shell/skat/about_box.h"
#include "shell/skat/help_window.h"
#include "tests/skat/editor_window_fixture.h"

namespace {

TEST_F(EditorWindowTest, AboutShowsNameVersionAndBothDescriptionsCentred) {
  MainWindow& window = OpenWindow();
  QString name, version, english, french;
  QPoint centre;
  QTimer::singleShot(0, &window, [&] {
    auto* about = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
    if (!about) return;
    name = about->findChild<QLabel*>("name")->text();
    version = about->findChild<QLabel*>("version")->text();
    english = about->findChild<QLabel*>("english")->text();
    french = about->findChild<QLabel*>("french")->text();
    centre = about->frameGeometry().center();
    about->findChild<QPushButton*>("OK")->click();
  });
  window.findChild<QPushButton*>("About")->click();
  EXPECT_EQ(name, "Skyatlas v1.3");
  EXPECT_EQ(version, "Version 1.3");
  EXPECT_TRUE(english.contains(
      "With its intuitive interface, you can view, import, modify, delete, and create data."));
  EXPECT_TRUE(french.contains(QString::fromUtf8("supprimer et créer des données")));
  EXPECT_NEAR(centre.x(), window.frameGeometry().center().x(), 2);
  EXPECT_NEAR(centre.y(), window.frameGeometry().center().y(), 2);
}

TEST_F(EditorWindowTest, HelpOpensTheShippedDocumentAtItsContents) {
  MainWindow& window = OpenWindow();
  EXPECT_EQ(window.helpWindow(), nullptr);
  window.findChild<QPushButton*>("Help")->click();
  HelpWindow* help = window.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Skyatlas Help");
  QTextBrowser* browser = help->browser();
  EXPECT_EQ(browser->source().toString(), HelpWindow::kDocumentUrl);
  const QString text = browser->toPlainText();
  EXPECT_TRUE(text.startsWith("Skyatlas v1.3 Help"));
  // Every command and window of the program has its section.
  for (const char* topic : {"Scan New Scenery",
                            "Rebuild database",
                            "Restore original DB",
                            "Change path",
                            "View index",
                            "Filter",
                            "Open, New and Import",
                            "Quit",
                            "NDB entry edition",
                            "VOR/ILS entry edition",
                            "Airport entry edition",
                            "Intersection entry edition",
                            "Undo and redo",
                            "Double entry warning !",
                            "Airport filter",
                            "The Index window",
                            "The Map window",
                            "The menus",
                            "Shift+F10",
                            "equirectangular",
                            "ndb.dat",
                            "idx.dat"}) {
    EXPECT_TRUE(text.contains(topic)) << topic;
  }
  EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

  // A link moves on; "Contents" and F1 come back to the top.
  browser->scrollToAnchor("files");
  QApplication::processEvents();
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
  help->findChild<QPushButton*>("Contents")->click();
  EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
  browser->scrollToAnchor("files");
  help->hide();
  QApplication::setActiveWindow(&window);
  window.activateWindow();
  QTest::keyClick(&window, Qt::Key_F1);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

  // Enter in the main window presses its default button, "Help".
  help->hide();
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_TRUE(help->isVisible());
}

}  // namespace
