__FILE__ __LINE__ __file__ ELSEIF EndWhile highlight_string Show_Source old_function
array Array foreach unset isset function functions real cfunction
