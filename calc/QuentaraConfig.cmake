# find_package(Quentara CONFIG): the loan library as the imported target Quentara::loan, a
# static library with no dependencies of its own but the C++ standard library.
include("${CMAKE_CURRENT_LIST_DIR}/QuentaraTargets.cmake")
