# The DAO classes run on SQLite (Debian's libsqlite3).
find_package(SQLite3 REQUIRED)
target_link_libraries(mfc PRIVATE SQLite::SQLite3)
