#pragma once
#include <string>

// Whether a video-input device is offered: a non-empty friendly name that
// contains neither "Integrated" nor "Microsoft" (case-sensitive).
bool Device_NameIsListed(const std::wstring &friendlyName);
