#pragma once
// Sample contents for the virtual unit the demo runs against, so that
// selecting a zone has something to bring back.

class AlarmUnitModel;

void LoadDemoUnit(AlarmUnitModel& unit);
