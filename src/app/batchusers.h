#pragma once
// Batch mode in a book with users: who runs the job, whether he may, and the jobs on the users list.

#include "app/batch.h"

#include <optional>

namespace varnoth
{

class Ledger;

// Signs in the job's --user and checks the job against the access rule: the result that refuses the
// job (exit status 1, nothing changed), or nothing when it may run.
std::optional<BatchResult> seatRefusal(Ledger& ledger, const BatchOptions& options);

// --add-user, --remove-user, --reset-pin and --users.
BatchResult userJob(Ledger& ledger, const BatchOptions& options);

} // namespace varnoth
