# What the core's tests need when they are cross-built for Windows and run under Wine.

# GoogleTest from Debian's sources (libgtest-dev), built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The simulator is the Linux program, built natively; the tests start it through Wine and reach
# its pseudo-terminal as this COM port of the prefix. Every test that does takes the port's lock.
set(TESMIRA_DEVSIM "" CACHE FILEPATH "The natively built tesmira-devsim")
set(TESMIRA_SIM_COM_PORT COM7 CACHE STRING "The Wine COM port mapped to the simulator")
if(NOT TESMIRA_DEVSIM)
    message(WARNING "TESMIRA_DEVSIM is not set: the tests against the simulator will fail")
endif()
