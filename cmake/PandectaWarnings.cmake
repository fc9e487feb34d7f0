# pandecta_warnings: the warnings the project's own code compiles with.
#
# Every target of the project links it privately, so the flags stay on the
# code we write and never reach a consumer of an installed library (lexdex)
# or the code of the platform's packages.
add_library(pandecta_warnings INTERFACE)
target_compile_options(pandecta_warnings INTERFACE -Wall -Wextra)
