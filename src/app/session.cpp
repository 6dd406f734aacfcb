#include "app/session.h"

namespace morvik {

Session::Session() : tables(std::make_unique<WorkingTables>()) {}

}  // namespace morvik
