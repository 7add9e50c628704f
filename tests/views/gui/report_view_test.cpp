#include "views/gui/report_view.h"

#include <QChartView>
#include <QHeaderView>
#include <QDir>
#include <QPrinter>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "platform/command_ids.h"
#include "support/temp_home.h"
#include "views/gui/report_charts.h"
#include "views/gui/report_print.h"
#include "views/gui/view_fixture.h"

namespace pw::test {
namespace {

class ReportViewTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    for (const char16_t* client : {u"Acme", u"Bolt", u"Acme"}) Put(TimeDatabase, Time(u"03/02/2024", client));
    ASSERT_TRUE(views.CreateView(ShownView::List));
  }
  // View Report with a selection dialog that ends with `result` after picking `picked`.
  void Report(std::vector<RecordPosition> picked, int result = IDOK) {
    ViewReport(Sources(), views, [&](RecordPositionList* list) {
      for (RecordPosition p : picked) list->Append(p);
      return result;
    });
  }
};

TEST_F(ReportViewTest, ThePickedRecordsReplaceTheViewShown) {
  ListWindow* list = ListViewWindow;
  Report({});  // nothing picked: a message
  Report({1}, IDCANCEL);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(ListViewWindow, list);

  Report({0, 2});
  ASSERT_NE(ReportListWindow, nullptr);
  EXPECT_EQ(ListViewWindow, nullptr);
  EXPECT_TRUE(ReportListWindow->horizontalHeader()->isHidden());
  for (UINT id : {IDM_SAVE_REPORT, IDM_SAVE_REPORT_PDF, IDM_PRINT_REPORT}) EXPECT_TRUE(host.menuEnabled[id]);
  // The charts sit right of the lines, each named by its title.
  QStringList names;
  for (const QChartView* chart : area_.findChildren<QChartView*>()) {
    names << chart->accessibleName();
    EXPECT_GE(chart->mapTo(&area_, QPoint()).x(), ReportListWindow->geometry().right());
  }
  EXPECT_EQ(names, (QStringList{"Hours by client", "Hours by month"}));
  DestroyCurrentView(state);
  EXPECT_FALSE(host.menuEnabled[IDM_PRINT_REPORT]);
}

// The PDF opens in a PDF reader and holds the report's first and last lines.
TEST_F(ReportViewTest, ReportAsPdfHoldsTheFirstAndLastLines) {
  Report({0, 1, 2});
  const QString path = QString::fromStdString(NewTestFolder("pdf")) + "/report.pdf";
  SaveReportPdf(nullptr, state, AppMode, [&](QWidget*, const QString&) { return path; });
  QProcess reader;
  reader.start("pdftotext", {"-layout", path, "-"});
  ASSERT_TRUE(reader.waitForFinished(20000));
  const QString text = QString::fromUtf8(reader.readAllStandardOutput());
  std::vector<std::u16string> lines = GetReportLines(ReportListWindow);
  std::erase(lines, u" ");
  for (const std::u16string& line : {lines.front(), lines.back()})
    EXPECT_TRUE(text.contains(QString::fromStdU16String(line))) << text.toStdString();
  EXPECT_TRUE(text.contains("Page 1 of 1"));
  EXPECT_TRUE(host.messages.empty());
}

// Print Report prints on the printer the user chose (here one that writes a PDF), and nothing when the
// user cancels.
TEST_F(ReportViewTest, PrintReportPrintsOnTheChosenPrinter) {
  Report({0, 1, 2});
  const QString folder = QString::fromStdString(NewTestFolder("print"));
  for (const bool chosen : {false, true}) {
    const QString path = folder + (chosen ? "/printed.pdf" : "/cancelled.pdf");
    PrintReport(nullptr, state, [&](QWidget*, QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return chosen;
    });
    EXPECT_EQ(QFile::exists(path), chosen);
  }
  QProcess reader;
  reader.start("pdftotext", {"-layout", folder + "/printed.pdf", "-"});
  ASSERT_TRUE(reader.waitForFinished(20000));
  const QString text = QString::fromUtf8(reader.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QString::fromStdU16String(GetReportLines(ReportListWindow).front()))) << text.toStdString();
  EXPECT_TRUE(text.contains("Page 1 of 1"));
  EXPECT_TRUE(host.messages.empty());
}

// Save Report offers the mode's name in the documents folder, or in the home folder while there is
// none (never the working folder); an empty report asks for no file at all.
TEST_F(ReportViewTest, SaveOffersTheDefaultNameAndSkipsAnEmptyReport) {
  Report({0, 1, 2});
  QStringList offered;
  const ReportFileChooser chooser = [&](QWidget*, const QString& start) { return offered << start, QString(); };
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  ASSERT_NE(documents, QDir::homePath());
  QDir(documents).removeRecursively();
  SaveReport(nullptr, state, AppMode, chooser);
  ASSERT_TRUE(QDir().mkpath(documents));
  SaveReport(nullptr, state, AppMode, chooser);
  EXPECT_EQ(offered, (QStringList{QDir::homePath() + "/PWH Time Report.doc", documents + "/PWH Time Report.doc"}));
  SetReportLines(ReportListWindow, {});
  SaveReport(nullptr, state, AppMode, chooser);
  EXPECT_EQ(offered.size(), 2);
}

}  // namespace
}  // namespace pw::test
