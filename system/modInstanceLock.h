#pragma once
// The lock that keeps a second copy of the program from running: a machine has one EC,
// so any other running copy, in any session, counts.
namespace modInstanceLock {

// Takes the lock for the whole run; false when another copy holds it. No standard user
// can take it first or hold it: the name "Global\vantu.instance" counts as another
// copy's only when SYSTEM or the Administrators own the object, and when anyone else
// holds the name, or an object there cannot be opened, every copy also takes the file
// "vantu.lock" in the system's Windows folder, where only administrators create files.
bool TakeInstanceLock();

}  // namespace modInstanceLock
