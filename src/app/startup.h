#pragma once

#include <QStringList>

namespace morvik {

// Shown when more file names arrive than a request CSV and a stamp CSV.
extern const QString kTooManyFileNames;

struct Session;
class Frontend;

// Prepares a session before the window is first shown: hidden progress bars, the
// initial options, today's month, then Main. `arguments` are the file names the program
// was started with, one element each.
void PrepareSession(Session& session, Frontend& frontend, const QStringList& arguments);

// Working directory, the two CSV names from `arguments` with the name rules, and the
// holiday file. A missing, unreadable or oversized holiday file shows its message and
// throws ProgramEnd.
void Main(Session& session, Frontend& frontend, const QStringList& arguments);

// The four name rules that put a request CSV and a stamp CSV given in the wrong order
// into their boxes. Returns true when a rule moved a name.
bool CorrectFileNameOrder(QString& requestName, QString& stampName);

}  // namespace morvik
