# Sourced: zolbex11_at_exit COMMAND adds COMMAND to what the shell runs when it exits, after
# whatever EXIT trap the caller had set before. Later calls add to the list; nothing is replaced.
# A caller that sets its own EXIT trap afterwards replaces the list, so set it first.

zolbex11_at_exit() {
    local command="$1" current
    current="$(trap -p EXIT)"
    case "$current" in
        *_zolbex11_run_at_exit*) ;;
        "") _zolbex11_exit_commands=() ;;
        *)  # The caller's own trap runs first: `trap -p` quotes it for the shell to read back.
            eval "set -- $current"
            _zolbex11_exit_commands=("$3") ;;
    esac
    _zolbex11_exit_commands+=("$command")
    trap _zolbex11_run_at_exit EXIT
}

_zolbex11_run_at_exit() {
    local command
    for command in "${_zolbex11_exit_commands[@]}"; do
        eval "$command" || true
    done
}
