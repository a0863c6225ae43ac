# How a clean build spends its processors; included by the top CMakeLists.txt before any target.
#
# Unity builds: each target compiles its sources in batches, one translation unit per batch, so
# that the system, standard and GoogleTest headers and the templates they bring are read and
# instantiated once per batch instead of once per file. The sources are kept fit for it: no two
# files of one target define the same name in their anonymous namespaces (a file that cannot be
# batched says so with SKIP_UNITY_BUILD_INCLUSION). TL_UNITY_BUILD=OFF compiles file by file, which
# rebuilds less after a change to one file.
option(TL_UNITY_BUILD "Compile each target's sources in batches of files (quicker clean builds)" ON)
# 0 puts each target's files into one batch: the quickest way to find two files that clash.
set(TL_UNITY_BATCH_SIZE 8 CACHE STRING "Files per unity batch, unless a target says otherwise; 0: all of a target's")
set(CMAKE_UNITY_BUILD ${TL_UNITY_BUILD})
set(CMAKE_UNITY_BUILD_BATCH_SIZE ${TL_UNITY_BATCH_SIZE})

# tl_unity_batch(<target> <files per batch>): a target whose batches want another size, such as
# a large test program whose last batch would otherwise keep one processor busy alone.
function(tl_unity_batch target size)
  if(TL_UNITY_BATCH_SIZE EQUAL 0)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD_BATCH_SIZE ${size})
endfunction()

# tl_third_party(<target>...): code we do not write keeps its warnings to itself, even where the
# build treats warnings as errors (CMAKE_COMPILE_WARNING_AS_ERROR, on in the presets).
function(tl_third_party)
  foreach(target IN LISTS ARGN)
    set_target_properties(${target} PROPERTIES COMPILE_WARNING_AS_ERROR OFF UNITY_BUILD OFF)
  endforeach()
endfunction()

# The native build's reports (ASan's and UBSan's stacks) need files and lines only: line tables
# compile in less time than full debug information (-DCMAKE_CXX_FLAGS_DEBUG=-g3 for a debugger).
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND CMAKE_CXX_FLAGS_DEBUG STREQUAL "-g")
  set(CMAKE_CXX_FLAGS_DEBUG "-gline-tables-only")
  set(CMAKE_C_FLAGS_DEBUG "-gline-tables-only")
endif()

# What ships (the DLL and the libraries it is made of) keeps the build type's optimisation, -O2 in
# a Release build as for any Windows DLL. The code that only tests it (the simulated and the
# reference host, the stand-ins, GoogleTest and the test programs) compiles in a fraction of the
# time with -O1 (the hosts and stand-ins) and -O0 (GoogleTest and the test programs' own files),
# and runs quickly enough.
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
string(REPLACE "-O3" "-O2" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
function(tl_test_code level)
  if(WIN32)
    foreach(target IN LISTS ARGN)
      target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-O${level}>)
    endforeach()
  endif()
endfunction()
