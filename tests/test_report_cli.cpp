// The program's command line: help, version, output files and every kind
// of bad input.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "reportprocess.h"

TEST(ReportCliTest, HelpVersionAndOutputFileExitZero)
{
  // Every mode's options in the help, with their defaults and exit statuses.
  const TReportRun help = RunReportProgram({"--help"});
  ExpectSuccess(help);
  const QString options =
      "--pitch|--resolution|--gain-a|--gain-b|--offset-a|--offset-b|--phase-a|--phase-b|--format|"
      "--output|--plot|--scope|--xy|--size|--sweep|--version|(default 0.040)|(default 700x300)|"
      "--monte-carlo <N>|--tolerance <NAME=VALUE>|--distribution|--seed <S>|(default 1)|"
      "--threads <K>|all cores|--limit|(default 1%)|--shard <K/N>|--merge|--quiet|"
      "--capture <file>|- for standard input|--columns <A,B>|(default 1,2 for two columns, 2,3|"
      "--skip-bad-rows|--amplitude <value>|Capture units (e.g. V)";
  for (const QString &text : options.split('|'))
    EXPECT_TRUE(help.Out.simplified().contains(text.toUtf8())) << qPrintable(text);
  EXPECT_TRUE(help.Out.startsWith("Usage: vantrel-report [options]\n"));
  EXPECT_TRUE(help.Out.contains("\n  2    a usage or input error"));
  EXPECT_TRUE(help.Out.contains("\n  130 "));

  const TReportRun version = RunReportProgram({"--version"});
  ExpectSuccess(version);
  EXPECT_EQ(version.Out, "vantrel-report 1.0\n");

  // A file that exists is replaced whole; nothing goes to standard output.
  QTemporaryDir dir;
  const QString path = dir.filePath("table.txt");
  WriteFile(path, "an older and much longer table than the new one\n");
  const TReportRun run = RunReportProgram({"--output", path, "--resolution", "0.0100"});
  ExpectSuccess(run);
  EXPECT_TRUE(run.Out.isEmpty());
  // Hand count: 0.040 / 0.0100 = 4 counts, 40 rows after 7 header lines.
  const QByteArray table = ReadFile(path);
  EXPECT_TRUE(table.startsWith("Scale Pitch:        0.0400\nScale Resolution:   0.0100\n"));
  EXPECT_EQ(table.count('\n'), 7 + 40);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("table.txt"));
}

TEST(ReportCliTest, HelpListsExactlyTheNamesSweepAndToleranceTake)
{
  // The lists as --help gives them; "a, b or c" reads as three names.
  const QString help = QString::fromUtf8(RunReportProgram({"--help"}).Out).simplified();
  const QRegularExpression sweep("Step one parameter \\(([^)]*)\\)");
  const QRegularExpression tolerance(
      "Spread of (.*) \\(both channels\\), of one channel's \\(([^)]*)\\) or of (.*), in the");
  const auto names = [](const QStringList &Texts) {
    return Texts.join(", ").replace(" or ", ", ").split(", ");
  };
  const QRegularExpressionMatch swept = sweep.match(help), spread = tolerance.match(help);
  ASSERT_TRUE(swept.hasMatch() && spread.hasMatch()) << qPrintable(help);
  const QStringList listed[2] = {
      names({swept.captured(1)}),
      names({spread.captured(1), spread.captured(2), spread.captured(3)})};
  EXPECT_TRUE(listed[1].contains("gain") && listed[1].contains("offset-b"));

  // Every option --help names, the quantities and a stray word, tried in
  // each: what is accepted is what is listed.
  QStringList candidates = {"gain", "offset", "phase", "harmonic"};
  QRegularExpressionMatchIterator option = QRegularExpression("--([a-z0-9-]+)").globalMatch(help);
  while (option.hasNext())
    candidates << option.next().captured(1);
  candidates.removeDuplicates();
  for (const QString &name : candidates)
    for (int which = 0; which < 2; ++which) {
      const TReportRun run = RunReportProgram(
          which == 0 ? QStringList{"--sweep", name + "=0.1:0.2:2"}
                     : QStringList{"--monte-carlo", "1", "--tolerance", name + "=0.01", "--quiet"});
      if (listed[which].contains(name))
        ExpectSuccess(run);
      else
        ExpectRefusal(run, "'" + name.toUtf8() + "' is not one of");
    }
}

TEST(ReportCliTest, BadCommandLinesExitTwoWithOneLineAndTouchNoFile)
{
  QTemporaryDir dir;
  const QByteArray original = "must stay as it is\n";
  const QString kept = WriteTestFile(dir, "kept.txt", original);
  const QString fresh = dir.filePath("fresh.png");
  const QStringList mc = {"--monte-carlo", "10"};
  // Each case, and a word its message must contain.
  const TRefusalCase cases[] = {
      {{"--bogus"}, "bogus"},
      {{"--pitch"}, "--pitch"},
      {{"--gain-a", "abc"}, "--gain-a"},
      {{"--gain-a", "1.0x"}, "--gain-a"},
      {{"--gain-a", ""}, "--gain-a"},
      {{"--offset-a", "nan"}, "finite"},
      {{"--pitch", "inf"}, "finite"},
      {{"--gain-a", "2.5"}, "0.1 ... 2"},
      {{"--gain-b", "0.05"}, "0.1 ... 2"},
      {{"--offset-b", "-1.01"}, "-1 ... 1"},
      {{"--phase-b", "0.8"}, "-0.78539816339745 ... 0.78539816339745"},
      {{"--pitch", "0"}, "--pitch"},
      {{"--resolution", "-0.005"}, "--resolution"},
      {{"--pitch", "0.001", "--resolution", "0.001"}, "2 ... 200000"},
      {{"--pitch", "0.1", "--resolution", "1e-7"}, "2 ... 200000"},
      {{"--pitch", "1e300", "--resolution", "1e-300"}, "2 ... 200000"},
      {{"--format", "xml"}, "--format"},
      {{"--size", "10x10"}, "--size"},
      {{"--size", "700"}, "--size"},
      {{"--xy=1"}, "--xy"},
      {{"extra"}, "extra"},
      {{"-style", "fusion"}, "s"},
      {{"--plot", dir.filePath("error.jpg")}, ".png"},
      {{"--scope", dir.filePath("scope")}, ".png"},
      {{"--output", dir.filePath("no/such/dir/out.txt")}, "out.txt"},
      {{"--output", dir.path()}, "cannot write"},
      {{"--plot", dir.filePath("no/such/dir/error.png")}, "error.png"},
      {{"--sweep", "gain-a=1:2"}, "NAME=FROM:TO:STEPS"},
      {{"--capture", "-", "--monte-carlo", "10"}, "--capture does not go with --monte-carlo"},
      {{"--sweep", "gain-a"}, "NAME=FROM:TO:STEPS"},
      {{"--sweep", "gain-a=1:2:1"}, "STEPS"},
      {{"--sweep", "gain-a=1:2:x"}, "STEPS"},
      {{"--sweep", "gain-a=0:2:5"}, "0.1 ... 2"},
      {{"--sweep", "phase-a=0:nan:5"}, "finite"},
      {{"--sweep", "gain-a=1:2:3", "--sweep", "gain-b=1:2:3"}, "once"},
      // The signal's options.
      {{"--adc-bits", "3"}, "--adc-bits needs a whole number from 4 to 24, not '3'"},
      {{"--table-size", "100"}, "--table-size needs a power of two from 16 to 4096, not '100'"},
      {{"--table-bits", "17"}, "--table-bits needs a whole number from 4 to 16, not '17'"},
      {{"--table-step", "0.1"}, "--table-step needs --table-bits"},
      {{"--table-bits", "8", "--table-step", "-1"},
       "--table-step needs a positive number of radians, not '-1'"},
      {{"--adc-bits", "12.5"}, "--adc-bits needs a whole number"},
      {{"--noise", "-0.01"}, "--noise -0.01 is outside its range 0 ... 1"},
      {{"--harmonic3", "0.31"}, "--harmonic3 0.31 is outside its range -0.3 ... 0.3"},
      {{"--harmonic3-phase", "x"}, "--harmonic3-phase needs a number, not 'x'"},
      {{"--noise", "0.1", "--capture", "-"}, "--noise does not go with --capture"},
      {{"--harmonic", "2"}, "--harmonic needs H,K or H,K,PHI, not '2'"},
      {{"--harmonic", "1,0.01"}, "order H must be a whole number from 2 to 9, not '1'"},
      {{"--harmonic", "2.5,0.01"}, "order H must be a whole number from 2 to 9, not '2.5'"},
      {{"--harmonic", "4,-0.31"}, "--harmonic 4,-0.31: K must be a number from -0.3 to 0.3"},
      {{"--harmonic", "4,0.1,7"}, "PHI must be a number from -6.28318530717959"},
      {{"--harmonic", "5,0.1", "--harmonic", "5,0"}, "--harmonic gives order 5 twice"},
      {{"--harmonic3-phase", "1", "--harmonic", "3,0.1"}, "3,... does not go with --harmonic3"},
      {{"--sweep", "harmonic9=0:0.4:3"}, "--sweep: harmonic9 0.4 is outside its range"},
      {{"--sweep", "noise=0:2:3"}, "--sweep: --noise 2 is outside its range"},
      // The study's.
      {{"--monte-carlo", "0"}, "--monte-carlo"},
      {{"--monte-carlo", "-5"}, "--monte-carlo"},
      {{"--monte-carlo", "1e3"}, "--monte-carlo"},
      {{"--monte-carlo", "100000001"}, "100000000"},
      {mc + QStringList{"--tolerance", "gain=-0.1"}, "gain"},
      {mc + QStringList{"--tolerance", "offset-a=nan"}, "offset-a"},
      {mc + QStringList{"--tolerance", "gain"}, "NAME=VALUE"},
      {mc + QStringList{"--distribution", "cauchy"}, "cauchy"},
      {mc + QStringList{"--limit", "1"}, "unit"},
      {mc + QStringList{"--limit", "1furlong"}, "unit"},
      {mc + QStringList{"--limit", "-1%"}, "--limit"},
      {mc + QStringList{"--shard", "3/3"}, "--shard"},
      {mc + QStringList{"--shard", "1/0"}, "--shard"},
      {mc + QStringList{"--shard", "1"}, "--shard"},
      {mc + QStringList{"--threads", "0"}, "--threads"},
      {mc + QStringList{"--seed", "-1"}, "--seed"},
      {mc + QStringList{"--format", "table"}, "table"},
      {mc + QStringList{"--plot", dir.filePath("h.jpg")}, ".png"},
      {{"--tolerance", "gain=0.1"}, "--monte-carlo"},
      {{"--merge", kept, "--pitch", "0.1"}, "--pitch"},
      {mc + QStringList{"stray"}, "stray"},
  };
  for (const TRefusalCase &c : cases) {
    SCOPED_TRACE(qPrintable(c.Arguments.join(' ')));
    // Every case also names an output file and a plot, which must stay
    // as they were, unless it names its own.
    QStringList arguments;
    if (!c.Arguments.contains("--output"))
      arguments << "--output" << kept;
    if (!c.Arguments.contains("--plot"))
      arguments << "--plot" << fresh;
    ExpectRefusal(RunReportProgram(arguments + c.Arguments), c.Says);
    EXPECT_EQ(ReadFile(kept), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("kept.txt"));
  }
}

// Renaming a finished file over its target would turn a pipe (or, for
// root, a device such as /dev/null) into a plain file: those are written
// in place. The reader at the pipe's other end gets the whole table.
TEST(ReportCliTest, APipeAsOutputIsWrittenInPlaceAndStaysAPipe)
{
  QTemporaryDir dir;
  const QString pipe = dir.filePath("pipe");
  ASSERT_EQ(QProcess::execute("mkfifo", {pipe}), 0);
  QProcess reader;
  reader.start("cat", {pipe});
  ASSERT_TRUE(reader.waitForStarted());
  const TReportRun run = RunReportProgram({"--output", pipe});
  EXPECT_EQ(run.ExitCode, 0);
  if (!reader.waitForFinished(10000))  // no writer ever opened the pipe
    reader.kill();
  EXPECT_TRUE(reader.readAllStandardOutput().startsWith("Scale Pitch:        0.0400\n"));
  EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}

// Options that contradict each other or the mode, each refused with both
// sides named, before any file is opened.
TEST(ReportCliTest, ConflictingOptionsAreRefusedNamingBothSides)
{
  QTemporaryDir dir;
  const QString capture = WriteTestFile(dir, "c.csv", "1,2\n");
  const QString shard = WriteTestFile(dir, "s.json", "{}");
  const QString png = WriteTestFile(dir, "x.png", "an older plot");
  const QString link = dir.filePath("link.png");
  ASSERT_TRUE(QFile::link(png, link));
  const QString sweep = "gain-a=1:2:3";
  const TRefusalCase cases[] = {
      {{"--gain-a", "1", "--gain-a", "0.5"}, "--gain-a is given twice: it may be given once"},
      {{"--format", "csv", "--format", "json"}, "--format is given twice: it may be given once"},
      {{"--scope", png, "--xy", "--xy"}, "--xy is given twice: it may be given once"},
      {{"--monte-carlo", "5", "--seed", "1", "--seed", "1"},
       "--seed is given twice: it may be given once"},
      {{"--capture", capture, "--gain-a", "1"},
       "--gain-a does not go with --capture: the capture's fit sets the channels"},
      {{"--phase-b", "0.1", "--capture", capture},
       "--phase-b does not go with --capture: the capture's fit sets the channels"},
      {{"--capture", capture, "--scope", png, "--xy"},
       "--xy does not go with --capture: the capture draws its scope as a Lissajous figure"},
      {{"--monte-carlo", "5", "--sweep", sweep}, "--sweep does not go with --monte-carlo"},
      {{"--sweep", sweep, "--monte-carlo", "5"}, "--sweep does not go with --monte-carlo"},
      {{"--monte-carlo", "5", "--scope", png}, "--scope does not go with --monte-carlo"},
      {{"--capture", capture, "--merge", shard}, "--capture does not go with --merge"},
      {{"--merge", shard, "--gain-b", "1.1"},
       "--gain-b does not go with --merge: --merge takes the setup from its files"},
      {{"--merge", shard, "--monte-carlo", "5"},
       "--monte-carlo does not go with --merge: --merge takes the study from its files"},
      {{"--sweep", sweep, "--format", "csv"},
       "--format does not go with --sweep: --sweep writes its own CSV"},
      {{"--threads", "3"}, "--threads needs --monte-carlo N"},
      {{"--capture", capture, "--seed", "3"}, "--seed does not go with --capture"},
      {{"--sweep", sweep, "--quiet"}, "--quiet needs --monte-carlo N or --merge"},
      {{"--monte-carlo", "5", "--columns", "1,2"}, "--columns needs --capture"},
      {{"--columns", "1,2", "--capture", capture, "--monte-carlo", "5"},
       "--columns does not go with --monte-carlo"},
      {{"--xy"}, "--xy needs --scope"},
      {{"--output", png, "--plot", dir.filePath("./x.png")},
       "--output and --plot both name " + dir.filePath("./x.png").toUtf8()},
      {{"--plot", dir.filePath("new.svg"), "--scope", dir.filePath("sub/../new.svg")},
       "--plot and --scope both name " + dir.filePath("sub/../new.svg").toUtf8()},
      {{"--plot", png, "--scope", link}, "--plot and --scope both name " + link.toUtf8()},
      {{"--capture", capture, "--output", png, "--scope", link},
       "--output and --scope both name " + link.toUtf8()},
  };
  for (const TRefusalCase &c : cases) {
    SCOPED_TRACE(qPrintable(c.Arguments.join(' ')));
    ExpectRefusalLine(RunReportProgram(c.Arguments), c.Says);
    EXPECT_EQ(ReadFile(png), "an older plot");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"c.csv", "link.png", "s.json", "x.png"}));
  }

  // What does fit: --tolerance repeats, and different files in one
  // directory are different outputs.
  const TReportRun study = RunReportProgram(
      {"--monte-carlo", "5", "--tolerance", "gain=0.01", "--tolerance", "offset=0.01", "--quiet",
       "--format", "json", "--plot", dir.filePath("h.png"), "--output", dir.filePath("h.json")});
  EXPECT_EQ(study.ExitCode, 0) << study.Err.constData();
  EXPECT_TRUE(ReadFile(dir.filePath("h.json")).contains("\"trials\": 5"));
  EXPECT_TRUE(ReadFile(dir.filePath("h.png")).startsWith("\x89PNG"));
}

TEST(ReportCliTest, LimitsFilesAreRefusedByFileAndEntryAndJudgeASimulationExactly)
{
  QTemporaryDir dir;
  const QString entry = "{\"name\": \"o\", \"quantity\": \"offset_a_percent\", ";
  const struct
  {
    QByteArray File, Says;
  } cases[] = {
      {"{\"limits\": [" + entry.toUtf8() +
           "\"low\": 1}, {\"name\": \"phase\", \"quantity\": " + "\"phaze\", \"high\": 1}]}",
       "entry 2 (\"phase\"): unknown quantity \"phaze\""},
      {"{\"limits\": [" + entry.toUtf8() + "\"below_hz\": 1}]}",
       "entry 1 (\"o\"): needs \"low\" or \"high\""},
      {"{\"limits\": [" + entry.toUtf8() + "\"hihg\": 1}]}",
       "entry 1 (\"o\"): unknown key \"hihg\""},
      {"{\"limits\": [" + entry.toUtf8() + "\"low\": \"1\"}]}",
       "entry 1 (\"o\"): \"low\" is not a number"},
      {"{\"limits\": [" + entry.toUtf8() + "\"low\": 2, \"high\": 1}]}",
       "entry 1 (\"o\"): \"low\" is above \"high\""},
      {"{\"limits\": [" + entry.toUtf8() + "\"low\": 1}, " + entry.toUtf8() + "\"high\": 1}]}",
       "entry 2 (\"o\"): has the band of entry 1 of that name"},
      {"{\"limits\": [{\"quantity\": \"phase_deg\", \"low\": 1}]}", "entry 1: needs a \"name\""},
      {"{\"limits\": []}", "needs an object with a non-empty \"limits\" array"},
      {"{\"limits\": [1,]}", "is not JSON: object is missing after a comma at offset 15"},
  };
  const QString path = dir.filePath("limits.json");
  for (const auto &c : cases) {
    WriteFile(path, c.File);
    const QByteArray start = c.Says.startsWith("is") ? path.toUtf8() + ' ' : path.toUtf8() + ": ";
    ExpectRefusalLine(RunReportProgram({"--limits", path}), start + c.Says);
  }
  ExpectRefusalLine(RunReportProgram({"--limits", dir.filePath("none")}),
                    "cannot read " + dir.filePath("none").toUtf8() + ": No such file or directory");
  const TReportRun list = RunReportProgram({"--limits", "list"});
  ExpectSuccess(list);
  EXPECT_TRUE(list.Out.startsWith("1vpp: ")) << list.Out.constData();
  EXPECT_TRUE(list.Out.contains("\ncalibration: ")) << list.Out.constData();

  // By hand: B/A = 0.625 / 0.5 = 1.25, on the 25 % bound; offset A 1.5 % of
  // 0.5; phase 0.008 rad = 0.458366 deg; the frequency unknown.
  WriteFile(path,
            "{\"name\": \"s\", \"limits\": [{\"name\": \"ratio\", \"quantity\": "
            "\"amplitude_ratio_percent\", \"high\": 25}, " +
                entry.toUtf8() +
                "\"low\": -1, \"high\": 1}, {\"name\": \"f\", "
                "\"quantity\": \"frequency_hz\", \"high\": 5e5}, {\"name\": \"p\", "
                "\"quantity\": \"phase_deg\", \"high\": 0.5, \"below_hz\": 1e3}]}");
  const QStringList setup = {"--gain-a", "0.5",       "--gain-b", "0.625",    "--phase-a",
                             "0.01",     "--phase-b", "0.002",    "--limits", path};
  const QJsonArray checks =
      ReportJson(setup + QStringList{"--offset-a", "0.0075"}, 1)["checks"].toArray();
  ASSERT_EQ(checks.size(), 4);
  const double values[] = {25.0, 1.5, 0.0, 0.458366};
  const char *const verdicts[] = {"PASS", "FAIL", "UNDECIDED", "PASS"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(checks[i]["verdict"].toString(), verdicts[i]) << i;
    EXPECT_EQ(checks[i]["value"].isNull(), i == 2) << i;
    EXPECT_NEAR(checks[i]["value"].toDouble(), values[i], 1e-6) << i;
    EXPECT_EQ(checks[i]["uncertainty"].toDouble(), 0.0) << i;
  }
  const TReportRun table = RunReportProgram(setup);
  EXPECT_EQ(table.ExitCode, 3);
  EXPECT_EQ(table.Err,
            "vantrel-report: warning: the signal frequency is unknown: limits given per frequency "
            "band are judged by their tightest band\nvantrel-report: limits s: 3 of 4 checks "
            "pass, 0 fail, 1 undecided\n");
}
