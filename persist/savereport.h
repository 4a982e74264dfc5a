// The saves made as the game quits: the player is leaving and would never
// notice one that failed, so each failure is said on standard error.
#pragma once

// Runs `save` (hiScoresSave, prefsSave, settingsSave), which writes the file
// `fileName` of the save folder and leaves errno telling why when it fails. A
// failure writes one line to standard error with the file's path and the
// reason. Without a usable save folder nothing more is said: start-up has
// already said that nothing will be saved. True when the file was written.
bool saveReportingFailure(bool (*save)(), const char* fileName);
