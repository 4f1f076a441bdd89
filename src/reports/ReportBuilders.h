#pragma once

struct SharedState;

// Write the report of one register for the dog held in workingDoggie
// (number DoggieRecNo) into report.txt in the records folder:
// Windows-1252 text, every line ended by CR LF. Throw FileError.
void BuildDoggieReport(SharedState& state);
void BuildHealthReport(SharedState& state);
void BuildJournalReport(SharedState& state);
