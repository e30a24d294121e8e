// One running copy per working folder: a lock file held for the whole run.
#pragma once

// Takes the lock of the current working folder; false when another copy holds it. The lock
// ends with the process.
bool HostLockInstance();
