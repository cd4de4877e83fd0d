# kel_add_test(...) for the COM runtime
