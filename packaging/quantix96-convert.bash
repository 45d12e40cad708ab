# bash completion for quantix96-convert
#
# Completes the options, then the quantity, then the two units of that
# quantity (given in full or in any short form the converter takes). The
# quantity may be left out: a word begun in its place is completed to units
# of every quantity as well, and when the first name is not a quantity the
# second is completed the same way. Every name comes from the converter's own
# --help, --list and --find, so the user's own units take part and nothing
# goes stale. Names hold blanks,
# brackets, quotes and signs such as ° or ²: each completion is quoted in the
# style the word was begun with (backslashes, "..." or '...').

# Removes the quoting from a word as typed. Sets _quantix96_plain to its
# text, _quantix96_quote to the quote still open at its end (empty when none)
# and _quantix96_lead to the text before that quote.
_quantix96_convert_dequote()
{
    local word=$1 c i
    _quantix96_plain="" _quantix96_quote="" _quantix96_lead=""
    for ((i = 0; i < ${#word}; i++)); do
        c=${word:i:1}
        if [[ $_quantix96_quote == "'" ]]; then
            [[ $c == "'" ]] && _quantix96_quote="" || _quantix96_plain+=$c
        elif [[ $c == '\' && ( $_quantix96_quote != '"' || ${word:i+1:1} == [\$\`\"\\] ) ]]; then
            ((i++))
            _quantix96_plain+=${word:i:1}
        elif [[ $_quantix96_quote == '"' ]]; then
            [[ $c == '"' ]] && _quantix96_quote="" || _quantix96_plain+=$c
        elif [[ $c == [\"\'] ]]; then
            _quantix96_quote=$c
            _quantix96_lead=$_quantix96_plain
        else
            _quantix96_plain+=$c
        fi
    done
}

# Quotes text for the shell inside the quote given (empty: none), in
# _quantix96_quoted. Readline closes an open quote after a sole match.
_quantix96_convert_quote()
{
    local text=$2 c i special
    case $1 in
    "'") _quantix96_quoted=${text//"'"/"'\\''"}; return ;;
    '"') special='[\$\`\"\\]' ;;
    *) special='[][ 	\$\`\"\\'\''!#&()*;<>?{|}~=:]' ;;
    esac
    _quantix96_quoted=""
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        # shellcheck disable=SC2053
        [[ $c == $special ]] && _quantix96_quoted+='\'
        _quantix96_quoted+=$c
    done
}

# Offers the lines of standard input that begin with the current word.
_quantix96_convert_offer()
{
    local name
    while IFS= read -r name; do
        [[ -n $name && $name == "$_quantix96_plain"* ]] || continue
        _quantix96_convert_quote "$_quantix96_quote" "${name:${#_quantix96_lead}}"
        COMPREPLY+=("$_quantix96_quoted")
    done
}

# Prints the units of every quantity whose names fit the current word, each
# once, for _quantix96_convert_offer to keep those that begin with it.
_quantix96_convert_units()
{
    "$1" --find="$_quantix96_plain" 2>/dev/null | cut -f 2 | awk '!seen[$0]++'
}

_quantix96_convert()
{
    local program=$1 cword=$COMP_CWORD
    local cur=${COMP_WORDS[cword]} prev=${COMP_WORDS[cword - 1]}
    local -a positional=() options=() valued=()
    local i=1 word name value units mode="" options_done=""
    # The helpers' results, local to this call.
    local _quantix96_plain _quantix96_quote _quantix96_lead _quantix96_quoted
    COMPREPLY=()
    [[ $program == "~/"* ]] && program=$HOME/${program:2}

    # The long options and, of those, the ones that take a value ("--decimals <N>").
    while read -r name value; do
        options+=("$name")
        [[ -n $value ]] && valued+=("$name")
    done < <("$program" --help 2>/dev/null |
        sed -n 's/^ \{1,\}\(-[[:alnum:]], \)\{0,1\}\(--[[:alnum:]-]\{1,\}\)\( <[^>]*>\)\{0,1\}.*/\2\3/p')

    # The value of an option: OPTION VALUE, or OPTION=VALUE, which bash splits
    # at "=". Only the decimals, the significant digits, the inch fraction and
    # the decimal point have values to offer.
    if [[ $cur == = && " ${valued[*]} " == *" $prev "* ]]; then
        cur=""
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[cword - 2]}
    fi
    if [[ " ${valued[*]} " == *" $prev "* ]]; then
        _quantix96_convert_dequote "$cur"
        [[ $prev == --decimals ]] && _quantix96_convert_offer < <(printf '%s\n' 0 1 2 3 4 5 6 7 8)
        [[ $prev == --significant ]] && _quantix96_convert_offer < <(seq 1 15)
        [[ $prev == --inch-fraction ]] && _quantix96_convert_offer < <(printf '%s\n' 0 2 4 8 16 32 64)
        [[ $prev == --decimal-point ]] && _quantix96_convert_offer < <(printf '%s\n' . ,)
        return 0
    fi

    while ((i < cword)); do
        word=${COMP_WORDS[i]}
        if [[ -z $options_done && ${#positional[@]} -eq 0 && $word == -* ]]; then
            case $word in
            --) options_done=1 ;;
            --list | --find) mode=$word ;;
            esac
            if [[ " ${valued[*]} " == *" $word "* ]]; then
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i++))
            fi
        else
            _quantix96_convert_dequote "$word"
            positional+=("$_quantix96_plain")
        fi
        ((i++))
    done

    _quantix96_convert_dequote "$cur"
    if [[ -z $options_done && ${#positional[@]} -eq 0 && $_quantix96_plain == -* ]]; then
        _quantix96_convert_offer < <(printf '%s\n' "${options[@]}")
    elif [[ $mode == --find ]]; then
        return 0
    elif ((${#positional[@]} == 0)); then
        _quantix96_convert_offer < <("$program" --list 2>/dev/null
            [[ -z $mode && -n $_quantix96_plain ]] && _quantix96_convert_units "$program")
    elif [[ -n $mode ]] || ((${#positional[@]} > 2)); then
        return 0
    elif units=$("$program" --list "${positional[0]}" 2>/dev/null); then
        _quantix96_convert_offer <<< "$units"
    elif ((${#positional[@]} == 1)) && [[ -n $_quantix96_plain ]]; then
        _quantix96_convert_offer < <(_quantix96_convert_units "$program")
    fi
    return 0
}

complete -F _quantix96_convert quantix96-convert
