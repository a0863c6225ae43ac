# Which subsystem each test belongs to, so that `ctest --preset <preset> -L <subsystem>` runs that
# subsystem's native cases, Wine cases, host scripts and fuzzer, whichever the preset has. A
# GoogleTest program is one ctest test per subsystem, each running the suites of its subsystem
# (found in the program's sources at configure time); suites that no pattern here claims run as
# the program's "framework" test. A new suite needs a line here only when its name fits none.
set(TL_SUBSYSTEMS picklist labels renumber options host installer)

# Suites, as regular expressions over GoogleTest suite names (the native and Wine programs alike).
set(TL_picklist_SUITES ^PickList ^PickDialog ^PicklistPlacement$ ^ListBoxFill$ ^SortedListOrder$)
set(TL_labels_SUITES ^LabelFormat$ ^DecimalText$ ^NumberPlacement$ ^NumberFields$ ^ObjectText$ ^ObjectPlacement$
                     ^PointLeader$ ^PlacementSession$)
set(TL_renumber_SUITES ^Renumber ^LabelCensus$ ^PartsList$)
set(TL_options_SUITES ^Options ^StoredOptionTable$ ^AddinOptions$ ^ReadmeOptions$ ^Stores$)
set(TL_host_SUITES ^SimHost ^SimRedo ^HostCom ^HostEvents ^HostScript$ ^HostWindow ^DrawingScene ^DialogDriver$
                   ^FaultSweep$ ^ReentrancySweep$ ^LocalMenu$ ^Lifecycle$ ^Lifetime$ ^Termination$ ^ToolStatus$
                   ^ToolInfo ^AddinTest$ ^Creation$ ^Registration$ ^ServerExports$ ^ModuleFile$)
set(TL_installer_SUITES ^PolicyTemplates$)

# Host scripts (tests/wine/scripts/<name>.tlh) and fuzzers by name; the rest are framework's.
set(TL_picklist_SCRIPTS picklist_tool shared_picklist unicode_picklist pick_list_fuzz)
set(TL_labels_SCRIPTS number_tool object_tool label_style label_fuzz)
set(TL_renumber_SCRIPTS renumber_by_position scale)
set(TL_host_SCRIPTS menus drawing_events tool_status host_script_fuzz)

# The subsystem of a host script or fuzzer `name`, in `out`.
function(tl_subsystem_of name out)
  foreach(subsystem ${TL_SUBSYSTEMS})
    if(name IN_LIST TL_${subsystem}_SCRIPTS)
      set(${out} ${subsystem} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} framework PARENT_SCOPE)
endfunction()

# tl_add_gtest_by_subsystem(<name> <program> SOURCES <files> [ARGS <arguments>] [EXCLUDE <filter>]
#                           [LABELS <labels>] [REPORTS <folder>])
# One ctest test <name>_<subsystem> per subsystem with suites in the sources, and <name>_framework
# for the rest. Each writes its GoogleTest report to <folder>/<test name>.xml, which ./run counts
# case by case. EXCLUDE is a GoogleTest filter of cases no test runs (pattern:pattern).
function(tl_add_gtest_by_subsystem name program)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "EXCLUDE;REPORTS" "SOURCES;ARGS;LABELS")
  set(suites "")
  foreach(source ${arg_SOURCES})
    file(STRINGS ${source} lines REGEX "^(TEST|TEST_F|TYPED_TEST)\\(")
    foreach(line ${lines})
      string(REGEX REPLACE "^[A-Z_]+\\(([A-Za-z0-9_]+),.*" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  # Each subsystem runs the suites its patterns claim; framework runs every case no other claimed,
  # so that no case goes unrun, whatever its form.
  set(claimed "")
  foreach(subsystem ${TL_SUBSYSTEMS} framework)
    set(mine "")
    if(subsystem STREQUAL framework)
      set(filter "-${claimed}")
      if(arg_EXCLUDE)
        string(APPEND filter ":${arg_EXCLUDE}")
      endif()
    else()
      foreach(suite ${suites})
        set(cases "${suite}.*")
        foreach(pattern ${TL_${subsystem}_SUITES})
          if(suite MATCHES "${pattern}" AND NOT cases IN_LIST mine AND NOT cases IN_LIST claimed)
            list(APPEND mine ${cases})
          endif()
        endforeach()
      endforeach()
      if(NOT mine)
        continue()
      endif()
      list(JOIN mine ":" filter)
      list(APPEND claimed ${mine})
      if(arg_EXCLUDE)
        string(APPEND filter "-${arg_EXCLUDE}")
      endif()
    endif()
    string(REPLACE ";" ":" filter "${filter}")
    set(test ${name}_${subsystem})
    set(report ${test}.xml)
    if(arg_REPORTS)
      set(report ${arg_REPORTS}/${test}.xml)
    endif()
    add_test(NAME ${test} COMMAND ${program} --gtest_filter=${filter} --gtest_output=xml:${report} ${arg_ARGS})
    set_tests_properties(${test} PROPERTIES LABELS "${subsystem};${arg_LABELS}")
  endforeach()
endfunction()
