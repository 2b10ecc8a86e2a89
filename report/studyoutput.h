#ifndef STUDYOUTPUT_H
#define STUDYOUTPUT_H

class QIODevice;
class TOutputTransaction;
struct TReportConfig;
struct TStudyResult;

// Opens a study's outputs, the text and the histogram plot (Plot null
// without --plot); false when one cannot be opened, as Output says.
bool OpenStudyOutputs(const TReportConfig &Config, TOutputTransaction &Output, QIODevice *&Plot);

// Writes a study's or a merge's text and histogram through Output and
// returns the exit status: 0 when every trial passed, 1 when some trial
// lost counts, exceeded the limit or failed a check of --limits, 3 when
// one of them is undecided, 2 when an output cannot be written,
// 130 for a study stopped by Ctrl-C.
int FinishStudy(const TReportConfig &Config, const TStudyResult &Result, TOutputTransaction &Output,
                QIODevice *Plot, QIODevice &Err);

#endif
