# Shared build settings for every target of the project.

set(QUILLMARK_WARNINGS -Wall -Wextra -pedantic -Woverloaded-virtual)
if(QUILLMARK_WERROR)
    list(APPEND QUILLMARK_WARNINGS -Werror)
endif()

set(QUILLMARK_SANITIZER_FLAGS "")
if(QUILLMARK_SANITIZE)
    set(QUILLMARK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        # Every library carries coverage so the fuzz targets see into it; plain executables
        # link the fuzzer runtime without its main.
        list(APPEND QUILLMARK_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
    endif()
endif()

function(quillmark_target_defaults target)
    target_compile_options(${target} PRIVATE ${QUILLMARK_WARNINGS} ${QUILLMARK_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${QUILLMARK_SANITIZER_FLAGS})
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()

# quillmark_library(<name> [SOURCES ...] [DEPS ...])
# One static library per source folder. Without SOURCES every .cpp/.h of the folder is taken,
# less the EXCLUDE files.
function(quillmark_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;EXCLUDE" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS
            "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    endif()
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM ARG_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/${excluded}")
    endforeach()
    if(NOT ARG_SOURCES)
        # A folder whose code has not been written yet still links.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    quillmark_target_defaults(${name})
endfunction()

# quillmark_test(<folder> DEPS ...)
# One GoogleTest executable per folder of tests/, every case registered with CTest.
# LABELS marks tests that need something beyond the plain headless environment.
function(quillmark_test folder)
    cmake_parse_arguments(ARG "" "" "DEPS;LABELS;SOURCES" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
            "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    endif()
    set(target test_${folder})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} quillmark_testsupport GTest::gtest
        Qt6::Test)
    quillmark_target_defaults(${target})
    target_compile_definitions(${target} PRIVATE
        QUILLMARK_TESTDATA="${PROJECT_SOURCE_DIR}/tests/data")
    # The discovered tests' properties cannot carry a list, so extra labels go on the folder,
    # which gives them to every test in it.
    if(ARG_LABELS)
        set_property(DIRECTORY APPEND PROPERTY LABELS ${ARG_LABELS})
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        TEST_PREFIX "${folder}."
        PROPERTIES
            LABELS "${folder}"
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;TZ=UTC;QT_FONT_DPI=96;QUILLMARK_TODAY=2024-05-09"
            TIMEOUT 120)
endfunction()

# quillmark_fuzzer(<name> SOURCES ... DEPS ...)
# A libFuzzer target; only clang builds them (the sanitizer preset).
function(quillmark_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    quillmark_target_defaults(${name})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # A short run on every test pass keeps the target honest; long runs are done by hand.
    add_test(NAME fuzz.${name} COMMAND ${name} -max_total_time=10 -seed=1)
    set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 120
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()

# Adds every direct subfolder that has a CMakeLists.txt, so a new tool, benchmark or test
# folder needs no edit here.
function(quillmark_add_child_folders)
    file(GLOB children RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
    foreach(child IN LISTS children)
        if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}"
           AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
