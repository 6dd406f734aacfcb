#pragma once
// An environment variable set for the life of a scope, then restored (or unset again).

#include <QByteArray>
#include <QtGlobal>

namespace morvik::testing {

class ScopedEnvironment {
 public:
  // A null `value` unsets the variable.
  ScopedEnvironment(const char* name, const QByteArray& value)
      : name_(name), saved_(qgetenv(name)) {
    Set(value);
  }
  ~ScopedEnvironment() { Set(saved_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const QByteArray& value) {
    if (value.isNull()) {
      qunsetenv(name_);
    } else {
      qputenv(name_, value);
    }
  }

  const char* name_;
  QByteArray saved_;  // null when it was unset
};

}  // namespace morvik::testing
