# kelvarok_version: an interface library whose header kelvarok_version.h
# gives kProgramVersion, the project's version, to every program that shows it.
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvarok_version.h.in
               ${PROJECT_BINARY_DIR}/generated/kelvarok_version.h @ONLY)
add_library(kelvarok_version INTERFACE)
target_include_directories(kelvarok_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
