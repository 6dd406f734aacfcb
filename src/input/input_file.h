#pragma once

#include <QDateTime>
#include <QString>

#include <future>

namespace morvik {

// Reads a whole input file and decodes it (UTF-8 when it looks like UTF-8, else CP932).
// Throws RunFailure naming the file when it cannot be opened or read.
QString ReadInputFile(const QString& path);

// An input file read and decoded on a thread of its own while the program gets ready for
// the run that reads it: batch mode knows its stamp file before it has made its working
// tables, and a managers' stamp file takes tens of milliseconds to read and decode.
//
// Take gives the text read ahead only for the same path, when the read succeeded and the
// file's size and time of change are still those it had before the read; otherwise it
// reads the file then, as ReadInputFile does, so that a failure is reported where and as
// it always was.
class InputFileReadAhead {
 public:
  enum class When { kOnAThread, kNow };
  // Reads on a thread (without one to be had, Take reads the file itself), or here: the
  // text is then the file as it is now, which is how tests pin down what Take compares.
  explicit InputFileReadAhead(QString path, When when = When::kOnAThread);
  ~InputFileReadAhead();  // waits for the thread
  InputFileReadAhead(const InputFileReadAhead&) = delete;
  InputFileReadAhead& operator=(const InputFileReadAhead&) = delete;

  // ReadInputFile(path), from what was read ahead where that still holds it. Once only.
  QString Take(const QString& path);

 private:
  // What tells a file that changed after it was read ahead from one that did not.
  struct FileStamp {
    qint64 size = -1;  // -1: no such file
    QDateTime changed;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
  };
  struct Read {
    FileStamp before;  // the file's, before it was read
    QString text;
    bool read = false;
  };
  static FileStamp StampOf(const QString& path);
  static Read ReadAhead(const QString& path);

  QString path_;
  std::future<Read> read_;
};

}  // namespace morvik
