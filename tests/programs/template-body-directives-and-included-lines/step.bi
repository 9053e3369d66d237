' included inside a member procedure
  count += 1
