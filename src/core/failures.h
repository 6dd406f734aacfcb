#pragma once
// The two ways a procedure gives up.
//
// RunFailure ends the current run through its one failure path ("(Error1)" from a run);
// its detail says what failed (file, record or row, and what was wrong) so that batch
// mode can point at the bad line. Any other std::exception that escapes a run takes the
// same path with its what() as detail.
//
// ProgramEnd ends the whole program at once, after its message has been shown: the
// window closes, batch mode exits with status 3. The logic never calls exit() itself.

#include <QString>

#include <stdexcept>

namespace morvik {

class RunFailure : public std::runtime_error {
 public:
  explicit RunFailure(const QString& detail);
  QString detail() const { return detail_; }

 private:
  QString detail_;
};

class ProgramEnd : public std::runtime_error {
 public:
  explicit ProgramEnd(const QString& reason);
};

// The detail of any exception caught on a failure path.
QString FailureDetail(const std::exception& error);

}  // namespace morvik
