#pragma once
// The overview page's style sheet and script, kept apart from the code that writes rows.

namespace morvik::overview {

extern const char kPageStyle[];
extern const char kPageScript[];

}  // namespace morvik::overview
