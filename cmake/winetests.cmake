# Win32 tests: one executable with every tests/wine/*_test.cpp, run under Wine
# through CTest's cross-compiling emulator, one CTest entry per test so that
# each test starts with fresh process state.
set(WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_SOURCE_DIR}/tests/wine/wine-run.in ${WINE_RUN} @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*_test.cpp)
file(GLOB WINE_SUPPORT CONFIGURE_DEPENDS tests/wine/support/*.cpp)
add_executable(wine_tests ${WINE_TEST_SOURCES} ${WINE_SUPPORT} ${QUORELL_RC})
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/support)
target_link_libraries(wine_tests PRIVATE quorell_program quorell_rig gtest)
target_link_options(wine_tests PRIVATE -static)
# Under Wine the source tree is reached through drive Z:, Wine's view of "/".
set(MANUAL_SOURCE_FOR_TESTS ${MANUAL_SOURCE})
if(CMAKE_CROSSCOMPILING)
    set(MANUAL_SOURCE_FOR_TESTS Z:${MANUAL_SOURCE})
endif()
target_compile_definitions(wine_tests PRIVATE QUORELL_BINARY_DIR="${CMAKE_BINARY_DIR}"
                           "QUORELL_PACKAGE_NAME=L\"${PACKAGE_NAME}\"" "QUORELL_VERSION_WIDE=L\"${PROJECT_VERSION}\""
                           "QUORELL_MANUAL_SOURCE=L\"${MANUAL_SOURCE_FOR_TESTS}\"")
if(CMAKE_CROSSCOMPILING)
    set_target_properties(wine_tests PROPERTIES CROSSCOMPILING_EMULATOR ${WINE_RUN})
endif()
add_dependencies(wine_tests quorell_resources Quorell QuorellRig QuorellRigCtl quorell_packages)

gtest_add_tests(TARGET wine_tests SOURCES ${WINE_TEST_SOURCES}
                WORKING_DIRECTORY ${CMAKE_BINARY_DIR} TEST_LIST WINE_TESTS)
set_tests_properties(${WINE_TESTS} PROPERTIES TIMEOUT 60 LABELS wine)
# A focus series driven in nine steps, saved frame by frame, then fused.
set_tests_properties(FocusStackWindow.DrivingTheFocusThroughItsRangeFusesAPictureSharpWhereEveryPartIs
                     PROPERTIES TIMEOUT 240 LABELS wine)

# The reports the Wine test leaves in report-files/, read on the Linux side
# with LibreOffice and poppler.
set(REPORTS_TEST Reports.BothReportsOfItemsDrawnOverA1280x720PictureUnderANonAsciiPath)
set_tests_properties(${REPORTS_TEST} PROPERTIES FIXTURES_SETUP report_files TIMEOUT 120)
add_test(NAME Reports.ReadWithLibreOffice
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/check_reports.py ${CMAKE_BINARY_DIR}/report-files
                 ${CMAKE_BINARY_DIR}/screenshots)
set_tests_properties(Reports.ReadWithLibreOffice PROPERTIES FIXTURES_REQUIRED report_files TIMEOUT 300 LABELS wine)

# The snapshots the Wine test leaves in snapshot-files/, opened with ImageJ
# and read byte by byte on the Linux side.
set(SNAPSHOTS_TEST Reports.SnapshotsInEachFormatCarryTheCalibrationUnderANonAsciiPath)
set_tests_properties(${SNAPSHOTS_TEST} PROPERTIES FIXTURES_SETUP snapshot_files)
add_test(NAME Snapshots.ReadWithImageJ
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/check_snapshots.py ${CMAKE_BINARY_DIR}/snapshot-files)
set_tests_properties(Snapshots.ReadWithImageJ PROPERTIES FIXTURES_REQUIRED snapshot_files TIMEOUT 120 LABELS wine)

# A TIFF as ImageJ writes it (1 µm a pixel), for the test that opens it.
add_test(NAME Pictures.WriteWithImageJ
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/write_imagej_tiff.py ${CMAKE_BINARY_DIR}/imagej-files)
set_tests_properties(Pictures.WriteWithImageJ PROPERTIES FIXTURES_SETUP imagej_files TIMEOUT 120 LABELS wine)
set_tests_properties(OpenedPicture.AnImageJTiffAtOneMicrometreAPixelMeasuresInMicrometres PROPERTIES
                     FIXTURES_REQUIRED imagej_files)

# The fallback writer's videos, read back on the Linux side by ffprobe and ffmpeg.
add_test(NAME FallbackWriter.FilesPlayAsWritten
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/check_fallback_videos.py ${CMAKE_BINARY_DIR}/fallback-videos)
set_tests_properties(FallbackWriter.WritesH264AndWmvUnderANonAsciiName PROPERTIES FIXTURES_SETUP fallback_videos)
set_tests_properties(FallbackWriter.FilesPlayAsWritten PROPERTIES
                     FIXTURES_REQUIRED fallback_videos TIMEOUT 60 LABELS wine)

# The videos the recording tests made through the program, played back on the
# Linux side by ffprobe and ffmpeg and held against the times the virtual
# microscope captured their frames.
set(RECORDING_TESTS RecordingDialog.RecordsMp4WithASplitAndWmvThenStops
    RecordingDialog.AFailedStartSaysWhyAndATenSecondLimitClosesTheDialog
    RecordingDialog.UnpluggingTheMicroscopeFinishesTheFileAndClosesTheDialog
    RecordingDialog.KeepsRealTimeThroughARateDropAndAStallAndTurnsThePictureAsTheScreenDoes
    App.ClosingTheProgramDuringARecordingFinishesTheFileAndEndsWithExitCodeZero
    PictureSource.AHeldFrameStaysWhileTheCameraRunsAndARecordingWritesLiveFrames
    ViewDevices.MalformedFormatsAreNotListedAndAnOddSizedPictureIsShownSnapshottedAndRecorded
    Faults.ADiskFillingUpEndsTheRecordingWithAMessageAndAPlayableFile
    Faults.AFolderRenamedDuringARecordingEndsItWithAMessageAndAPlayableFile
    TimeLapse.SpaceDuringARecordingSavesASnapshotWithoutAGapInTheVideo)
add_test(NAME Recording.VideosPlayBack
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/check_recordings.py ${CMAKE_BINARY_DIR}/recordings)
set_tests_properties(${RECORDING_TESTS} PROPERTIES FIXTURES_SETUP recordings)
set_tests_properties(Recording.VideosPlayBack PROPERTIES FIXTURES_REQUIRED recordings TIMEOUT 120 LABELS wine)

# The time-lapse series the Wine tests left in time-lapse/, their pictures
# counted and their videos read back on the Linux side by ffprobe.
set(TIME_LAPSE_TESTS TimeLapse.FivePicturesASecondApartLeaveFiveNumberedPicturesAndAVideoOfFiveFrames
    TimeLapse.AnUnpluggedCameraSkipsPicturesAndAVanishedFolderStopsTheSeriesKeepingWhatWasWritten)
add_test(NAME TimeLapse.VideosPlayBack
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/wine/check_time_lapse.py ${CMAKE_BINARY_DIR}/time-lapse)
set_tests_properties(${TIME_LAPSE_TESTS} PROPERTIES FIXTURES_SETUP time_lapse)
set_tests_properties(TimeLapse.VideosPlayBack PROPERTIES FIXTURES_REQUIRED time_lapse TIMEOUT 60 LABELS wine)

# A disk that fills up during a recording: a small tmpfs as drive Q:, mounted
# before the test and always undone after it (CTest runs a fixture's cleanup
# also when the test fails or times out).
set(SMALL_DISK_TEST Faults.ADiskFillingUpEndsTheRecordingWithAMessageAndAPlayableFile)
add_test(NAME Faults.MountSmallDisk COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/small-disk ${CMAKE_BINARY_DIR} mount)
add_test(NAME Faults.UnmountSmallDisk COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/small-disk ${CMAKE_BINARY_DIR} unmount)
set_tests_properties(Faults.MountSmallDisk PROPERTIES FIXTURES_SETUP small_disk LABELS wine)
set_tests_properties(Faults.UnmountSmallDisk PROPERTIES FIXTURES_CLEANUP small_disk LABELS wine)
set_tests_properties(${SMALL_DISK_TEST} PROPERTIES FIXTURES_REQUIRED small_disk
                     SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" TIMEOUT 90)

# A test that drags with the X server's own mouse (tests/wine/x-input answers
# its requests with xdotool); as a disabled gtest it runs only from here.
set(X_INPUT_TEST App.DISABLED_TheTextDialogStaysAboveTheMainWindowAfterADragInTheView)
add_test(NAME App.TheTextDialogStaysAboveTheMainWindowAfterAMouseDragOnTheXServer
         COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/x-input ${CMAKE_BINARY_DIR} ${WINE_RUN}
                 ${CMAKE_BINARY_DIR}/wine_tests.exe --gtest_also_run_disabled_tests --gtest_filter=${X_INPUT_TEST}
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(App.TheTextDialogStaysAboveTheMainWindowAfterAMouseDragOnTheXServer PROPERTIES TIMEOUT 60 LABELS wine)

# The soak driver (scripts/soak) builds on the same support code.
add_subdirectory(tests/soak)
