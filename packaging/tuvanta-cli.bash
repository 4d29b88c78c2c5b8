# bash completion of tuvanta-cli: commands, options, axis digits and files.
# Installed as share/bash-completion/completions/tuvanta-cli.

# The commands, one line each: NAME, its words in order, its options.
#   words:   axis (a hex digit), a glob (*.ap0: such files and folders),
#            file (any file), a|b (one of the words), - (typed freely);
#            a|*.ap0 offers both
#   options: --name (a flag) or --name:VALUE with VALUE as the words above
#            (nothing after the colon: typed freely)
# A new command is one more line here.
_tuvanta_cli_commands=(
    'identify     axis'
    'read         axis - -'
    'write        axis - -           --length:1|2|4 --work'
    'command      axis -'
    'save         axis *.ap0'
    'load         *.ap0 axis         --kinds:general|system|motor|general,system,motor --yes'
    'monitor      axis               --count: --interval: --json'
    'alarms       axis               --json'
    'alarm-reset  axis               --yes'
    'trace        axis               --mode:1|2|3 --sampling: --trigger: -o:file --csv:*.csv --ch1: --ch2: --ch3: --ch4: --ch5: --ch6: --ch7: --ch8:'
    'motor        axis *.mp0         --yes'
    'tune         notch|frequency axis --torque: --friction: --yes'
    'verify       *.ap0 axis         --json'
    'report       axis|*.ap0         -o:*.pdf --level:0|1|2|3'
    'analyse      axis               --torque: --frequency: -o:*.csv --bode:*.png --analyser:file --yes'
)
# Options of every command.
_tuvanta_cli_global='--device:device --port: --baud:1200|2400|4800|9600|19200|38400|57600 --db:*.ad0 --stats --help --version'

# Offers the completions of one word kind for the current word.
_tuvanta_cli_offer()
{
    local cur=$2 part
    local -a parts
    IFS='|' read -r -a parts <<< "$1"
    for part in "${parts[@]}"; do
        case $part in
        axis) COMPREPLY+=($(compgen -W '1 2 3 4 5 6 7 8 9 A B C D E F 0' -- "$cur")) ;;
        device)
            local d
            for d in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/serial/by-id/*; do
                [[ -e $d && $d == "$cur"* ]] && COMPREPLY+=("$d")
            done
            _tuvanta_cli_files '' "$cur"
            ;;
        file) _tuvanta_cli_files '' "$cur" ;;
        \*.*) _tuvanta_cli_files "${part#\*.}" "$cur" ;;
        -) ;;
        *) COMPREPLY+=($(compgen -W "$part" -- "$cur")) ;;
        esac
    done
}

# Files (ending in .EXT in either case when EXT is given) and folders;
# readline marks the folders.
_tuvanta_cli_files()
{
    local ext=$1 cur=$2 f
    local -a found
    mapfile -t found < <(compgen -f -- "$cur")
    compopt -o filenames 2> /dev/null
    for f in "${found[@]}"; do
        if [[ -d $f ]]; then
            COMPREPLY+=("$f")
        elif [[ -z $ext || ${f,,} == *."${ext,,}" ]]; then
            COMPREPLY+=("$f")
        fi
    done
}

# The value kind of an option in a list of "option:kind" entries; false
# when the option takes no value or is not in the list.
_tuvanta_cli_value_kind()
{
    local entry
    for entry in $2; do
        if [[ $entry == "$1:"* ]]; then
            REPLY=${entry#*:}
            return 0
        fi
    done
    return 1
}

_tuvanta_cli()
{
    local -a words
    local cword cur prev
    # "--db=FILE" is one word here, whatever COMP_WORDBREAKS says.
    if declare -F _get_comp_words_by_ref > /dev/null; then
        _get_comp_words_by_ref -n = -w words -i cword
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi
    cur=${words[cword]}
    prev=
    ((cword > 0)) && prev=${words[cword - 1]}
    COMPREPLY=()

    # The command, and how many positional words came after it.
    local i word command= options=$_tuvanta_cli_global skip= positional=0 line w REPLY
    local -a row given=()
    for ((i = 1; i < cword; ++i)); do
        word=${words[i]}
        if [[ -n $skip ]]; then
            skip=
            continue
        fi
        if [[ $word == -* ]]; then
            # An option that takes a value swallows the next word.
            [[ $word != *=* ]] && _tuvanta_cli_value_kind "$word" "$options" && skip=1
            continue
        fi
        if [[ -z $command ]]; then
            for line in "${_tuvanta_cli_commands[@]}"; do
                read -r -a row <<< "$line"
                [[ ${row[0]} == "$word" ]] || continue
                command=$word
                for w in "${row[@]:1}"; do
                    if [[ $w == -* ]]; then options+=" $w"; else given+=("$w"); fi
                done
                break
            done
            [[ -n $command ]] && continue
        fi
        ((++positional))
    done

    # The value of an option.
    local option=
    if [[ $cur == -*=* ]]; then
        option=${cur%%=*}
        cur=${cur#*=}
    elif [[ $prev == -* && $prev != *=* ]]; then
        option=$prev
    fi
    if [[ -n $option ]] && _tuvanta_cli_value_kind "$option" "$options"; then
        [[ -n $REPLY ]] && _tuvanta_cli_offer "$REPLY" "$cur"
        return 0
    fi

    local names=
    if [[ $cur == -* ]]; then
        for w in $options; do names+=" ${w%%:*}"; done
        COMPREPLY=($(compgen -W "$names" -- "$cur"))
    elif [[ -z $command ]]; then
        for line in "${_tuvanta_cli_commands[@]}"; do names+=" ${line%% *}"; done
        COMPREPLY=($(compgen -W "$names" -- "$cur"))
    elif ((positional < ${#given[@]})); then
        _tuvanta_cli_offer "${given[positional]}" "$cur"
    fi
    return 0
}
complete -F _tuvanta_cli tuvanta-cli
