// symbol_tables
