#pragma once

#include <string>
#include <string_view>

namespace respana {

// Writes content to fileName through a temporary file in the same folder and
// a rename, so that a reader sees either the old file or the whole new one,
// never a part. Throws TRespanaError; the temporary file is removed then.
void writeFileAtomically(const std::string &fileName, std::string_view content);

} // namespace respana
