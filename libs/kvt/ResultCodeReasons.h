#pragma once

// Why the engine gave up on a file, in a few plain words for the person who added it ("not a
// video file", "damaged or cut short"). One table covers every result code; the dialogs show
// the reason beside the code. Texts are English and marked for translation in the context
// "ResultCodeReason".
namespace kvt {

// The reason for a result code; empty for SUCCESS and for the one warning that counts as
// success, a general reason for a code outside the table.
const char* resultCodeReason(int code);

} // namespace kvt
