# Sources of src/line (paths relative to src/).
list(APPEND CORE_SOURCES
  line/CapiCodeTables.cpp
  line/CapiMessages.cpp
  line/cCAPI.cpp
  line/Scenario.cpp
  line/SimulatedLine.cpp
  line/CapiDriverFactory.cpp)
if(WIN32)
  list(APPEND CORE_SOURCES
    line/ReadinessSignal_win.cpp
    line/WindowsCapiDriver.cpp)
else()
  list(APPEND CORE_SOURCES
    line/ReadinessSignal_posix.cpp
    line/LinuxCapiDriver.cpp)
endif()
