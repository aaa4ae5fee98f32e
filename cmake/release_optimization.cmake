# The Release build of the two programs is optimised for where the search spends its time:
# the engine libraries are compiled with a profile of `bench` (profile-guided optimisation) and
# the programs are linked with link-time optimisation, where the compiler (GCC) offers them;
# otherwise the build stays plain. The profile comes from a nested build of instrumented
# libraries in <build>/pgo that runs the bench search and a perft; it is trained again whenever
# an engine source changes, and then every engine object is compiled again. While developing,
# -DCORVID_PGO=OFF skips the profile and -DCORVID_LTO=OFF the link-time step;
# -DCORVID_PIE=ON keeps the engine position-independent.
#
# Tests and tools link the same profile-optimised libraries, without the link-time step.
option(CORVID_PGO "Release: optimise the engine with a profile of the bench search" ON)
option(CORVID_LTO "Release: link the programs with link-time optimisation" ON)
option(CORVID_PIE "Release: build the engine as position-independent code" OFF)

set(corvid_engine_libraries corvid_engine corvid_engine_popcnt)

# The engine reads its attack, mask and evaluation tables on every node. Compiled for a fixed
# address, a table access is one instruction instead of two (3% fewer instructions in the
# search); the programs, tests and tools that link the engine are then linked at a fixed
# address too. Qt's code stays position-independent, as Qt requires.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT CORVID_PIE AND NOT CORVID_SANITIZE AND
   NOT CORVID_TSAN AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    include(CheckLinkerFlag)
    check_linker_flag(CXX -no-pie corvid_has_no_pie)
    if(corvid_has_no_pie)
        foreach(library ${corvid_engine_libraries})
            target_compile_options(${library} PRIVATE -fno-pie)
            target_link_options(${library} INTERFACE -no-pie)
        endforeach()
    endif()
endif()

# "generate" only in the nested training build, with the folder the profile goes to.
set(CORVID_PGO_STAGE "" CACHE STRING "Internal: the stage of the profile-guided build")
set(CORVID_PGO_PROFILE_DIR "" CACHE PATH "Internal: the profile folder of the training build")
mark_as_advanced(CORVID_PGO_STAGE CORVID_PGO_PROFILE_DIR)

if(CORVID_PGO_STAGE STREQUAL "generate")
    # The object paths below the build folder name the profile files, so that the release
    # build, whose objects have the same relative paths, finds them.
    foreach(library ${corvid_engine_libraries})
        target_compile_options(${library} PRIVATE
            -fprofile-generate=${CORVID_PGO_PROFILE_DIR}
            -fprofile-prefix-path=${CMAKE_BINARY_DIR} -fprofile-update=single)
        set(trainer ${library}_training)
        add_executable(${trainer} tools/pgo_training/bench_training.cpp)
        target_link_libraries(${trainer} PRIVATE ${library})
        target_link_options(${trainer} PRIVATE -fprofile-generate)
    endforeach()
    return()
endif()

if(NOT CMAKE_BUILD_TYPE STREQUAL "Release" OR CORVID_SANITIZE OR CORVID_TSAN OR
   NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
endif()

include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fprofile-prefix-path=/ corvid_has_profile_prefix_path)
if(CORVID_PGO AND corvid_has_profile_prefix_path)
    set(pgo_dir ${CMAKE_BINARY_DIR}/pgo)
    set(profile_dir ${pgo_dir}/profile)
    set(profile_stamp ${pgo_dir}/profile.stamp)
    # The engine's sources and headers: a desktop change trains nothing again.
    set(pgo_inputs ${CORVID_ENGINE_SOURCES})
    foreach(folder platform chess eval search book control protocol startup)
        file(GLOB_RECURSE folder_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
        list(APPEND pgo_inputs ${folder_headers})
    endforeach()
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    add_custom_command(OUTPUT ${profile_stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${profile_dir}
        COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${pgo_dir}/build
            -G ${CMAKE_GENERATOR} -DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}
            -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER} "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
            -DCMAKE_BUILD_TYPE=Release
            -DCORVID_PGO_STAGE=generate -DCORVID_PGO_PROFILE_DIR=${profile_dir}
            -DCORVID_TESTS=OFF
        COMMAND ${CMAKE_COMMAND} --build ${pgo_dir}/build -j ${cores}
            --target corvid_engine_training corvid_engine_popcnt_training
        COMMAND ${pgo_dir}/build/corvid_engine_training
        COMMAND ${pgo_dir}/build/corvid_engine_popcnt_training
        COMMAND ${CMAKE_COMMAND} -E touch ${profile_stamp}
        DEPENDS ${pgo_inputs} ${CMAKE_CURRENT_LIST_FILE} ${CMAKE_SOURCE_DIR}/CMakeLists.txt
            ${CMAKE_SOURCE_DIR}/tools/pgo_training/bench_training.cpp
        COMMENT "Training the profile of the release build on the bench search"
        VERBATIM)
    add_custom_target(corvid_pgo_profile DEPENDS ${profile_stamp})
    # A new profile compiles every engine object again. Code the training never ran (the
    # protocols, the book, the desktop's calls) is optimised as without a profile, not for size.
    set_source_files_properties(${CORVID_ENGINE_SOURCES} PROPERTIES OBJECT_DEPENDS ${profile_stamp})
    foreach(library ${corvid_engine_libraries})
        add_dependencies(${library} corvid_pgo_profile)
        target_compile_options(${library} PRIVATE
            -fprofile-use=${profile_dir} -fprofile-prefix-path=${CMAKE_BINARY_DIR}
            -fprofile-partial-training
            -Wno-missing-profile -Wno-error=coverage-mismatch)
    endforeach()
endif()

include(CheckIPOSupported)
check_ipo_supported(RESULT corvid_has_lto LANGUAGES CXX)
if(CORVID_LTO AND corvid_has_lto)
    # Objects with both the intermediate code and machine code: the programs link them with
    # link-time optimisation, every other consumer (tests, tools) links the machine code as
    # usual, without paying for a whole-program optimisation per test program.
    foreach(library ${corvid_engine_libraries})
        target_compile_options(${library} PRIVATE -flto=auto -ffat-lto-objects)
        target_link_options(${library} INTERFACE
            $<IF:$<BOOL:$<TARGET_PROPERTY:CORVID_LTO_LINK>>,-flto=auto,-fno-lto>)
    endforeach()
    set_target_properties(corvid corvid_popcnt PROPERTIES CORVID_LTO_LINK ON)
endif()
