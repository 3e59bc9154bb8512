#pragma once

namespace stolvar {

// Called first thing in main, before Qt is set up: starts opening the database that
// Temp.ini in the program folder names as the last one (see db/OpenAhead.h).
void StartOpeningLastDatabase();

} // namespace stolvar
