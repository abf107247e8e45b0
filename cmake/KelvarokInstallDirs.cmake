# Where an install puts the game and its data. An install into a prefix keeps
# every program in bin/ and the data in share/kelvarok/; the Debian package
# follows Debian's games layout with
#   -DKELVAROK_INSTALL_GAMESDIR=games -DKELVAROK_INSTALL_GAMEDATADIR=share/games/kelvarok
set(KELVAROK_INSTALL_GAMESDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
    "Where the game is installed, relative to the prefix")
set(KELVAROK_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/kelvarok CACHE STRING
    "Where the game's data (its help) is installed, relative to the prefix")

# The data folder as the program finds it from its own folder, so that the
# installed tree can be moved as a whole.
cmake_path(ABSOLUTE_PATH KELVAROK_INSTALL_GAMESDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE games_dir)
cmake_path(ABSOLUTE_PATH KELVAROK_INSTALL_GAMEDATADIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE game_data_dir)
file(RELATIVE_PATH KELVAROK_DATA_FROM_PROGRAM ${games_dir} ${game_data_dir})

# Every install rule without a component of its own belongs to the game; the
# command-line tools name theirs (`tools`), which the package splits off.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)
