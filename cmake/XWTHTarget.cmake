# The product library: every subsystem folder contributes its sources.
xwth_glob_sources(XWTH_SOURCES
  ${PROJECT_SOURCE_DIR}/dllmain/*.cpp
  ${PROJECT_SOURCE_DIR}/msgstore/*.cpp
  ${PROJECT_SOURCE_DIR}/mime/*.cpp
  ${PROJECT_SOURCE_DIR}/timefmt/*.cpp
  ${PROJECT_SOURCE_DIR}/resources/*.cpp
  ${PROJECT_SOURCE_DIR}/ui/*.cpp
  ${PROJECT_SOURCE_DIR}/process/*.cpp
  ${PROJECT_SOURCE_DIR}/companion/xwth/*.cpp)
xwth_shared_library(XWTH SOURCES ${XWTH_SOURCES})
target_include_directories(XWTH PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(XWTH PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(XWTH PUBLIC winport TQLog TQTH TQImaging Config)
if(WIN32)
  target_link_libraries(XWTH PRIVATE comctl32)  # the owner-drawn menu's image lists
endif()
