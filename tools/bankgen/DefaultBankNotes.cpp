#include "DefaultBankNotes.h"

namespace kest {
// Until the random generator exists every row holds the default note.
void FillDefaultNotes(TParamList& /*preset*/, int /*index*/) {}
} // namespace kest
