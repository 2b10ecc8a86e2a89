// --merge: the shards' JSON files combined into one study result.
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "runmodes.h"
#include "studymerge.h"
#include "studyoutput.h"
#include "studytext.h"

int RunMergeMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  QIODevice *plot = nullptr;
  if (!OpenStudyOutputs(Config, output, plot))
    return Refuse(Err, output.Problem());
  TStudyResult result;
  const QString message = MergeShards(Config.Study.MergeFiles, result);
  if (!message.isEmpty())
    return Refuse(Err, message);
  return FinishStudy(Config, result, output, plot, Err);
}
