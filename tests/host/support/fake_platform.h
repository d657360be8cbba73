// What the host stand-ins of the platform services record and serve.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct LocalTime;

struct FakePlatform {
    // Settings store: absent names are missing values.
    bool storeOpens = true;
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    int storeOpenCount = 0;

    // File system: folders and files by full path.
    std::set<std::wstring> folders;
    std::map<std::wstring, std::vector<unsigned char>> files;
    std::wstring modulePath = L"C:\\Program Files\\Quorell\\Quorell.exe";
    std::wstring documents = L"C:\\Users\\me\\Documents";
    bool hasDocuments = true;

    std::vector<std::wstring> debugLines;

    // Window entry points.
    std::vector<int> mainCommands;   // MainWnd_PostCommand
    std::vector<int> panelCommands;  // Panel_PostCommand
    std::vector<bool> panelRefreshes; // Panel_PostRefresh
    std::vector<std::pair<float, int32_t>> viewCalibrations;
    std::vector<int> viewZooms;
    int invalidations = 0;

    // Frame pipeline requests (frame_platform.h).
    int frameRepaints = 0;
    int stillPosts = 0;

    uint32_t milliseconds = 0; // Clock_Milliseconds
    int year = 2024, month = 1, day = 15, hour = 9, minute = 30, second = 5, millisecond = 42;
};

extern FakePlatform gFake;

// Forgets everything recorded and restores the defaults above.
void FakePlatform_Reset();
