// The engine's reading of the active game settings (Resign, DrawOffers, LogGames, BookEnabled):
// the boolean rule "1" or "true". Changed by the command side only while no search runs.
#pragma once

namespace corvid {

bool activeSettingOn(const char* key);
void setActiveSetting(const char* key, bool on);

} // namespace corvid
