#include <filesystem>
#include <new>
#include <system_error>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrlQuery>

#include "ClientErrors.h"
#include "ErrorDisplay.h"
#include "ErrorReport.h"
#include "ForeignErrors.h"
#include "HelpHint.h"
#include "PandectaApplication.h"
#include "QtText.h"
#include "TempFolder.h"

namespace {

TEST(ErrorReportTest, CarriesClassMessageStackModulesAndSystem) {
  const TErrorReport report = MakeErrorReport(ETOMOError("Falhou"));
  EXPECT_EQ(report.ClassName, "ETOMOError");
  EXPECT_EQ(report.Message, "Falhou");
  EXPECT_FALSE(report.CallStack.empty());
  EXPECT_NE(report.Modules.find("libQt6Core"), std::string::npos);
  EXPECT_NE(report.SystemInfo.find("Qt: "), std::string::npos);
  const std::string text = report.Text();
  EXPECT_NE(text.find("Exceção: ETOMOError"), std::string::npos);
  EXPECT_NE(text.find("Pilha de chamadas:"), std::string::npos);
}

// The library's type names and English texts stay in the technical part.
TEST(ErrorReportTest, ForeignExceptionsReachTheUserInPortuguese) {
  const TErrorReport internal = MakeErrorReport(std::runtime_error("quebrou"));
  EXPECT_EQ(internal.ClassName, "EProgramError");
  EXPECT_EQ(internal.Message, kInternalErrorMessage);
  EXPECT_NE(internal.CallStack.find("Erro original: std::runtime_error: quebrou"), std::string::npos);

  const TErrorReport memory = MakeErrorReport(std::bad_alloc());
  EXPECT_EQ(memory.ClassName, "EOutOfMemory");
  EXPECT_EQ(memory.Message, kOutOfMemoryMessage);

  const std::filesystem::filesystem_error full("copy", "/dados/a.dat", "/copia/a.dat",
                                               std::make_error_code(std::errc::no_space_on_device));
  EXPECT_EQ(MakeErrorReport(full).Message,
            "Erro ao acessar \"/dados/a.dat\" e \"/copia/a.dat\": não há espaço livre no disco (código 28)");
  const TErrorReport denied = MakeErrorReport(std::system_error(EACCES, std::generic_category(), "open"));
  EXPECT_EQ(denied.Message, "Erro do sistema: permissão negada (código 13)");
  for (const TErrorReport& report : {internal, memory, denied}) {
    EXPECT_EQ(report.ClassName.find("std::"), std::string::npos);
    EXPECT_EQ(report.Message.find("std::"), std::string::npos);
  }
}

TEST(ErrorReportTest, ReportsAreAppendedToTheErrorLog) {
  TempFolder folder;
  SetErrorLogFolder(folder.Path().string());
  EXPECT_EQ(ErrorLogPath(), folder.File("Pandecta_Err.log"));
  ASSERT_TRUE(AppendToErrorLog(MakeErrorReport(ETOMOError("primeiro"))));
  ASSERT_TRUE(AppendToErrorLog(MakeErrorReport(ETOMOError("segundo"))));
  const std::string log = ReadWholeFile(folder.Path() / "Pandecta_Err.log");
  EXPECT_LT(log.find("primeiro"), log.find("segundo"));
  SetErrorLogFolder("");
}

TEST(ErrorReportTest, MailGoesToSupportWithTheSubjectAndTheReport) {
  TErrorReport report = MakeErrorReport(ETOMOError("a & b = c + d"));
  const QUrl url = ErrorMailUrl(report);
  EXPECT_EQ(url.scheme(), "mailto");
  EXPECT_EQ(url.path(), "suporte@pandecta.example");
  const QUrlQuery query(url);
  EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), QString::fromUtf8("[TOMO] Relatório de Erro"));
  EXPECT_TRUE(query.queryItemValue("body", QUrl::FullyDecoded).contains("a & b = c + d"));
}

TEST(ErrorDisplayTest, BoxShowsTheMessageAndDetailsOnDemand) {
  TfrmErrorDisplay box(MakeErrorReport(ETOMOError("Mensagem para o usuário")));
  box.show();
  EXPECT_EQ(box.windowTitle(), "Pandecta");
  EXPECT_EQ(box.findChild<QLabel*>("ErrorMessageLabel")->text(), QString::fromUtf8("Mensagem para o usuário"));
  auto* details = box.findChild<QPlainTextEdit*>("ErrorDetailsEdit");
  EXPECT_TRUE(details->isHidden());
  box.findChild<QPushButton*>("ErrorDetailsButton")->click();
  EXPECT_FALSE(details->isHidden());
  EXPECT_TRUE(details->toPlainText().contains("ETOMOError"));
}

TEST(ErrorDisplayTest, ExceptionsEscapingEventHandlersReachTheErrorDisplay) {
  TempFolder folder;
  SetErrorLogFolder(folder.Path().string());
  std::vector<TErrorReport> shown;
  SetErrorPresenter([&](const TErrorReport& report) { shown.push_back(report); });
  // What TPandectaApplication::notify does with a throwing handler.
  class TThrower : public QObject {
   protected:
    void customEvent(QEvent*) override { throw ETOMOError("no evento"); }
  } thrower;
  // The tests run on TPandectaApplication, whose notify catches.
  ASSERT_NE(dynamic_cast<TPandectaApplication*>(QCoreApplication::instance()), nullptr);
  QEvent event(QEvent::User);
  const bool handled = QCoreApplication::sendEvent(&thrower, &event);
  EXPECT_FALSE(handled);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Message, "no evento");
  EXPECT_NE(ReadWholeFile(folder.Path() / "Pandecta_Err.log").find("no evento"), std::string::npos);
  SetErrorPresenter({});
  SetErrorLogFolder("");
}

TEST(HelpHintTest, SlidesFiveBlanksAStepThenWaitsAndGoesAway) {
  QWidget parent;
  auto* label = new QLabel(&parent);
  THelpHint* hint = new THelpHint(*label);
  EXPECT_EQ(label->text(), THelpHint::InitialText());
  EXPECT_TRUE(label->text().startsWith(QString(99, ' ') + "<---- Clique aqui"));
  hint->Tick();
  EXPECT_TRUE(label->text().startsWith(QString(94, ' ') + "<"));
  for (int i = 0; i < 19; ++i) hint->Tick();
  EXPECT_TRUE(label->text().startsWith("<---- Clique aqui para visualizar o arquivo de ajuda."));
  hint->Tick();  // no blank left: the long wait begins
  EXPECT_TRUE(hint->Running());
  hint->Tick();
  EXPECT_TRUE(label->isHidden());
}

TEST(QtTextTest, Windows1252BecomesUnicodeAtTheWindowAndBack) {
  EXPECT_EQ(Win1252ToQString("A\xE7\xE3o \x80"), QString::fromUtf8("Ação €"));
  EXPECT_EQ(QStringToWin1252(QString::fromUtf8("Ação €")), "A\xE7\xE3o \x80");
  EXPECT_EQ(QStringToWin1252(QString::fromUtf8("中")), "?");
  EXPECT_EQ(Win1252ToQString(std::string("a\0b", 3)).size(), 3);
}

}  // namespace
