#pragma once
// The output reports the unit must receive, worked out here from the
// protocol's definition (UTF-16LE bytes, address = offset + i/2 rounded half
// to even after the addition) and not through the tool's own code, so a
// fault shared by the tool and its unit tests still shows.

#include <string>
#include <vector>

#include "virtual_unit/alarm_unit_model.h"

// The reports of one press of the send button for `zone` (1-4).
std::vector<WireReport> ExpectedUpload(int zone, const std::u16string& pin, const std::u16string& serviceCentre,
                                       const std::u16string& phone, const std::u16string& text);
